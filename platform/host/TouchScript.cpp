#include "platform/host/TouchScript.h"

#include <charconv>
#include <sstream>

namespace host {

namespace {

core::Error scriptError(int line, const std::string& message) {
    return {"TouchScript", 1, "line " + std::to_string(line) + ": " + message, {}};
}

template <class Number> std::optional<Number> number(std::string_view text) {
    Number value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<ScriptTarget> target(std::string_view word) {
    if (word.starts_with('@')) {
        ScriptTarget found;
        std::string_view text = word.substr(1);
        if (const size_t mark = text.rfind('#'); mark != std::string_view::npos && mark > 0) {
            const std::optional<int> occurrence = number<int>(text.substr(mark + 1));
            if (!occurrence || *occurrence < 1)
                return std::nullopt;
            found.occurrence = *occurrence;
            text = text.substr(0, mark);
        }
        if (text.empty())
            return std::nullopt;
        found.text = text;
        return found;
    }
    const size_t comma = word.find(',');
    if (comma == std::string_view::npos)
        return std::nullopt;
    const std::optional<float> x = number<float>(word.substr(0, comma));
    const std::optional<float> y = number<float>(word.substr(comma + 1));
    if (!x || !y)
        return std::nullopt;
    return ScriptTarget{core::Point{*x, *y}, {}, 1};
}

} // namespace

core::Result<std::vector<ScriptCommand>> parseTouchScript(std::string_view text) {
    std::vector<ScriptCommand> commands;
    std::istringstream lines{std::string(text)};
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        // A comment starts with a "#" at the start of a word ("@x#2" is a target).
        for (size_t mark = line.find('#'); mark != std::string::npos; mark = line.find('#', mark + 1)) {
            if (mark == 0 || line[mark - 1] == ' ' || line[mark - 1] == '\t') {
                line.erase(mark);
                break;
            }
        }
        std::istringstream words(line);
        std::vector<std::string> parts;
        for (std::string word; words >> word;)
            parts.push_back(word);
        if (parts.empty())
            continue;

        ScriptCommand command{ScriptVerb::Tap, {}, 0, 30, {}, number, line};
        const std::string& verb = parts[0];
        size_t targets = 0;
        if (verb == "tap" || verb == "down" || verb == "move" || verb == "up") {
            command.verb = verb == "tap"    ? ScriptVerb::Tap
                           : verb == "down" ? ScriptVerb::Down
                           : verb == "move" ? ScriptVerb::Move
                                            : ScriptVerb::Up;
            targets = 1;
            if (parts.size() != 2)
                return scriptError(number, verb + " takes one target");
        } else if (verb == "drag") {
            command.verb = ScriptVerb::Drag;
            // The last word is the number of moves of each stretch when it is no target.
            size_t words = parts.size();
            if (words >= 4 && !target(parts.back())) {
                const std::optional<int> steps = host::number<int>(parts.back());
                if (!steps || *steps < 1 || *steps > 10000)
                    return scriptError(number, "\"" + parts.back() + "\" is no number of moves (1 to 10000)");
                command.steps = *steps;
                --words;
            }
            targets = words - 1;
            if (targets < 2)
                return scriptError(number, "drag takes two or more targets and, maybe, a number of moves");
        } else if (verb == "wait") {
            command.verb = ScriptVerb::Wait;
            const std::optional<double> seconds =
                parts.size() == 2 ? host::number<double>(parts[1]) : std::nullopt;
            if (!seconds || *seconds < 0 || *seconds > 3600)
                return scriptError(number, "wait takes a number of seconds (0 to 3600)");
            command.seconds = *seconds;
        } else if (verb == "shot") {
            command.verb = ScriptVerb::Shot;
            if (parts.size() > 2)
                return scriptError(number, "shot takes at most a name");
            command.name = parts.size() == 2 ? parts[1] : "shot";
            if (command.name.find_first_of("/\\") != std::string::npos || command.name.starts_with('.'))
                return scriptError(number, "a shot's name is a plain file name");
        } else {
            return scriptError(number, "unknown command \"" + verb + "\"");
        }
        for (size_t i = 1; i <= targets; ++i) {
            std::optional<ScriptTarget> parsed = target(parts[i]);
            if (!parsed)
                return scriptError(number, "\"" + parts[i] + "\" is no target (X,Y or @TEXT or @TEXT#N)");
            command.targets.push_back(std::move(*parsed));
        }
        commands.push_back(std::move(command));
    }
    return commands;
}

} // namespace host
