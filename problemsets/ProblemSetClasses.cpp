#include "problemsets/ProblemSetClasses.h"

#include "platform/ui/ClassRegistry.h"
#include "problemsets/playgrounds/ListPlaygroundViewController.h"
#include "problemsets/playgrounds/ProblemEditViewController.h"
#include "problemsets/playgrounds/QuickPlaygroundViewController.h"
#include "problemsets/screens/DeleteableCollectionViewCell.h"
#include "problemsets/screens/MasterListViewController.h"
#include "problemsets/screens/ProblemListViewController.h"

namespace zm {

void registerProblemSetClasses(ui::ClassRegistry& registry) {
    registry.registerClass<DeleteableCollectionViewCell, ui::CollectionViewCell>(
        "DeleteableCollectionViewCell", "CollectionViewCell", [] { return DeleteableCollectionViewCell::create(); });
    registry.registerClass<MasterListViewController, ui::ViewController>(
        std::string(MasterListViewController::kInterfaceName), "ViewController",
        [] { return MasterListViewController::create(); });
    registry.registerClass<ProblemListViewController, MasterListViewController>(
        std::string(ProblemListViewController::kInterfaceName), std::string(MasterListViewController::kInterfaceName),
        [] { return ProblemListViewController::create(); });
    registry.registerClass<QuickPlaygroundViewController, PlaygroundViewController>(
        std::string(QuickPlaygroundViewController::kInterfaceName), std::string(PlaygroundViewController::kInterfaceName),
        [] { return QuickPlaygroundViewController::create(); });
    registry.registerClass<ProblemEditViewController, QuickPlaygroundViewController>(
        std::string(ProblemEditViewController::kInterfaceName), std::string(QuickPlaygroundViewController::kInterfaceName),
        [] { return ProblemEditViewController::create(); });
    registry.registerClass<ListPlaygroundViewController, PlaygroundViewController>(
        std::string(ListPlaygroundViewController::kInterfaceName), std::string(PlaygroundViewController::kInterfaceName),
        [] { return ListPlaygroundViewController::create(); });
}

void installProblemSets() {
    registerProblemSetClasses(ui::ClassRegistry::shared());
}

} // namespace zm
