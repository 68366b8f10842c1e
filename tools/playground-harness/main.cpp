// A developer's harness for the main playground: one expression (or one long division) from the
// command line, played in a window with the mouse, or headless with a touch script and a picture per
// command.

#include "JTMathParser/ExprTextReader.h"
#include "platform/core/Files.h"
#include "platform/core/SteadyClock.h"
#include "platform/host/WindowHost.h"
#include "tools/playground-harness/HarnessOptions.h"
#include "tools/playground-harness/HarnessStage.h"
#include "tools/playground-harness/LongDivisionStage.h"
#include "tools/playground-harness/LongDivisionText.h"
#include "tools/playground-harness/ScriptRunner.h"

#include <iostream>
#include <vector>

namespace {

int fail(const std::string& message) {
    std::cerr << "playground-harness: " << message << "\n";
    return 1;
}

int play(const zm::HarnessOptions& options, const zm::ExprPtr& expr) {
    auto opened = host::WindowHost::open(options.device, core::SteadyClock::shared());
    if (!opened)
        return fail(opened.error().description);
    host::WindowHost& window = **opened;
    const auto stage = zm::HarnessStage::create(window.application(), expr, std::cout);
    if (const core::Status ran = window.run(); !ran)
        return fail(ran.error().description);
    return 0;
}

int playLongDivision(const zm::HarnessOptions& options, const std::shared_ptr<zm::ExprLongDivision>& division) {
    auto opened = host::WindowHost::open(options.device, core::SteadyClock::shared());
    if (!opened)
        return fail(opened.error().description);
    host::WindowHost& window = **opened;
    const auto stage = zm::LongDivisionStage::create(window.application(), division, options.demo, std::cout);
    if (!stage)
        return fail(stage.error().description);
    if (const core::Status ran = window.run(); !ran)
        return fail(ran.error().description);
    return 0;
}

core::Result<std::vector<host::ScriptCommand>> readScript(const zm::HarnessOptions& options) {
    if (!options.script)
        return std::vector<host::ScriptCommand>{};
    const core::Result<std::string> text = core::readFile(*options.script);
    if (!text)
        return text.error();
    auto parsed = host::parseTouchScript(*text);
    if (!parsed)
        return core::Error{"Harness", 1, *options.script + ": " + parsed.error().description, {}};
    return parsed;
}

int runHeadless(const zm::HarnessOptions& options, const zm::ExprPtr& expr) {
    const auto script = readScript(options);
    if (!script)
        return fail(script.error().description);
    const auto result = zm::runTouchScript(expr, *script, *options.out, options.device, std::cout);
    return result ? 0 : fail(result.error().description);
}

int runLongDivision(const zm::HarnessOptions& options) {
    auto division = zm::readLongDivisionArgument(*options.longDivision);
    if (!division)
        return fail(division.error().description);
    (*division)->setAcceptsRemainders(options.remainders);
    (*division)->setFinishedSegments(options.worked);
    if (!options.headless)
        return playLongDivision(options, *division);
    const auto script = readScript(options);
    if (!script)
        return fail(script.error().description);
    const auto result =
        zm::runLongDivisionScript(*division, options.demo, *script, *options.out, options.device, std::cout);
    return result ? 0 : fail(result.error().description);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const auto options = zm::HarnessOptions::parse(arguments);
    if (!options) {
        std::cerr << "playground-harness: " << options.error().description << "\n"
                  << zm::HarnessOptions::usage() << "\n";
        return 2;
    }
    if (options->longDivision)
        return runLongDivision(*options);
    bool failed = false;
    const zm::ExprPtr expr = zm::ExprTextReader::parseString(options->expression, failed);
    if (failed)
        return fail("cannot read the expression \"" + options->expression + "\"");
    return options->headless ? runHeadless(*options, expr) : play(*options, expr);
}
