#pragma once

namespace zm {

class PixFilterRegistry;

// The framework's filters by family, as a pipeline configuration names them (PixFilterRegistry::shared
// adds every family).
void registerStillRoadFilters(PixFilterRegistry& registry);
void registerColorAdjustmentFilters(PixFilterRegistry& registry);

} // namespace zm
