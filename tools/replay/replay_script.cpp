#include "tools/replay/replay_script.h"

#include <sstream>
#include <utility>

#include "input/key_map.h"
#include "platform/fake/fake_platform.h"

namespace korvane::replay {
namespace {

constexpr std::pair<const char*, uint8_t> kKeyNames[] = {
    {"ESCAPE", kKeyEscape}, {"E", kKeyE},       {"R", kKeyR},       {"S", kKeyS},
    {"G", kKeyG},           {"L", kKeyL},       {"B", kKeyB},       {"N", kKeyN},
    {"UP", kKeyUp},         {"DOWN", kKeyDown}, {"LEFT", kKeyLeft}, {"RIGHT", kKeyRight},
};

bool ReadNumber(std::istringstream& in, uint64_t* value) {
    std::string word;
    if (!(in >> word) || word.empty() ||
        word.find_first_not_of("0123456789") != std::string::npos || word.size() > 15) {
        return false;
    }
    *value = std::stoull(word);
    return true;
}

bool AtEnd(std::istringstream& in) {
    std::string extra;
    return !(in >> extra);
}

// One "at MS ..." line.
std::optional<TimedAction> ParseTimed(std::istringstream& in, std::string* what) {
    TimedAction action{};
    std::string verb;
    if (!ReadNumber(in, &action.atMs) || !(in >> verb)) {
        *what = "expected: at MS down|up|shot|board|close|demo|switch|keyboard ...";
        return std::nullopt;
    }
    if (verb == "down" || verb == "up") {
        std::string key;
        in >> key;
        action.kind = verb == "down" ? TimedAction::Kind::KeyDown : TimedAction::Kind::KeyUp;
        action.scanCode = KeyCode(key);
        if (action.scanCode == 0) {
            *what = "unknown key '" + key + "' (ESCAPE E R S G L B N UP DOWN LEFT RIGHT)";
            return std::nullopt;
        }
    } else if (verb == "shot") {
        action.kind = TimedAction::Kind::Shot;
        if (!(in >> action.name) || action.name.find('/') != std::string::npos) {
            *what = "expected: at MS shot NAME (a plain file name)";
            return std::nullopt;
        }
    } else if (verb == "board") {
        action.kind = TimedAction::Kind::Board;
    } else if (verb == "close") {
        action.kind = TimedAction::Kind::Close;
    } else if (verb == "demo") {
        std::string onOff;
        in >> onOff;
        if (onOff != "on" && onOff != "off") {
            *what = "expected: at MS demo on|off";
            return std::nullopt;
        }
        action.kind = onOff == "on" ? TimedAction::Kind::DemoOn : TimedAction::Kind::DemoOff;
    } else if (verb == "switch") {
        std::string way;
        in >> way;
        if (way != "away" && way != "back") {
            *what = "expected: at MS switch away|back";
            return std::nullopt;
        }
        action.kind = way == "away" ? TimedAction::Kind::SwitchAway : TimedAction::Kind::SwitchBack;
    } else if (verb == "keyboard") {
        std::string event;
        in >> event;
        if (event == "lost") {
            action.kind = TimedAction::Kind::KeyboardLost;
        } else if (event == "unplugged") {
            action.kind = TimedAction::Kind::KeyboardUnplugged;
        } else if (event == "plugged") {
            action.kind = TimedAction::Kind::KeyboardPlugged;
        } else {
            *what = "expected: at MS keyboard lost|unplugged|plugged";
            return std::nullopt;
        }
    } else {
        *what = "unknown action '" + verb + "'";
        return std::nullopt;
    }
    if (!AtEnd(in)) {
        *what = "unexpected words at the end of the line";
        return std::nullopt;
    }
    return action;
}

// Applies one line to the script; false with `what` set when it is malformed.
bool ParseLine(const std::string& line, Script* script, std::string* what) {
    std::istringstream in(line);
    std::string command;
    if (!(in >> command) || command[0] == '#') {
        return true;
    }
    uint64_t number = 0;
    if (command == "at") {
        auto action = ParseTimed(in, what);
        if (action) {
            script->actions.push_back(*action);
        }
        return action.has_value();
    }
    if (command == "counter" || command == "start" || command == "end") {
        if (!ReadNumber(in, &number) || !AtEnd(in)) {
            *what = "expected: " + command + " NUMBER";
            return false;
        }
        if (command == "counter") {
            script->counterHz = number;
        } else if (command == "start") {
            script->startMs = static_cast<uint32_t>(number);
        } else {
            script->endMs = number;
        }
        return true;
    }
    std::string word;
    if (command == "layout") {
        in >> word;
        if ((word != "565" && word != "555") || !AtEnd(in)) {
            *what = "expected: layout 565|555";
            return false;
        }
        script->layout555 = word == "555";
        return true;
    }
    if (command == "trace") {
        in >> word;
        if (word != "changes" || !AtEnd(in)) {
            *what = "expected: trace changes";
            return false;
        }
        script->traceChangesOnly = true;
        return true;
    }
    if (command == "fail") {
        if (!(in >> word) || !AtEnd(in)) {
            *what = "expected: fail STEP";
            return false;
        }
        if (!fake::IsStepName(word)) {
            *what = "no platform step is called '" + word + "'";
            return false;
        }
        script->failSteps.push_back(word);
        return true;
    }
    *what = "unknown command '" + command + "'";
    return false;
}

}  // namespace

uint8_t KeyCode(const std::string& name) {
    for (const auto& [keyName, code] : kKeyNames) {
        if (name == keyName) {
            return code;
        }
    }
    return 0;
}

std::optional<Script> ParseScript(const std::string& text, std::string* error) {
    Script script;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::string what;
        if (!ParseLine(line, &script, &what)) {
            *error = "line " + std::to_string(number) + ": " + what;
            return std::nullopt;
        }
    }
    return script;
}

}  // namespace korvane::replay
