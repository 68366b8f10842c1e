#pragma once

#include <ostream>
#include <span>
#include <string>

namespace zm {

// The pix-pipeline program: `pix-pipeline PIPELINE.plist IN OUT` runs the filter pipeline the property
// list describes over the picture IN (PNG or JPEG) and writes the result to OUT, as PNG or JPEG by its
// extension; `pix-pipeline --list` prints the filters a pipeline may name, each with its methods and
// what they take. A failure is one line on `err` and a non-zero answer: 2 for wrong arguments, 1 for
// anything else. The arguments come without the program's name.
int runPixPipeline(std::span<const std::string> arguments, std::ostream& out, std::ostream& err);

} // namespace zm
