#include "tools/soundgen/song.h"

#include <cstdlib>
#include <map>
#include <sstream>

namespace korvane::soundgen {

namespace {

// A comment runs from a '#' that starts a word to the end of the line (a '#'
// inside a word is a sharp, as in F#4).
std::string WithoutComment(const std::string& line) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '#' && (i == 0 || line[i - 1] == ' ' || line[i - 1] == '\t')) {
            return line.substr(0, i);
        }
    }
    return line;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(WithoutComment(line));
    in.imbue(std::locale::classic());
    std::string word;
    while (in >> word) {
        words.push_back(word);
    }
    return words;
}

bool ParseNumber(const std::string& text, double& value) {
    std::istringstream in(text);
    in.imbue(std::locale::classic());
    in >> value;
    return !in.fail() && in.eof();
}

// "C4", "F#3", "Bb5" to a midi number (C4 = 60).
bool ParsePitch(const std::string& text, double& midi) {
    static const std::map<char, int> kLetters = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                                 {'G', 7}, {'A', 9}, {'B', 11}};
    if (text.size() < 2 || kLetters.count(text[0]) == 0) {
        return false;
    }
    int semitone = kLetters.at(text[0]);
    std::size_t at = 1;
    if (text[at] == '#') {
        ++semitone;
        ++at;
    } else if (text[at] == 'b') {
        --semitone;
        ++at;
    }
    if (at + 1 != text.size() || text[at] < '0' || text[at] > '8') {
        return false;
    }
    midi = 12.0 * (text[at] - '0' + 1) + semitone;
    return true;
}

struct Token {
    enum Kind { kRest, kHold, kSound } kind = kRest;
    std::vector<std::string> parts;  // pitches or drum letters
    double velocity = 0.78;
};

bool ParseToken(const std::string& word, Token& token) {
    if (word == ".") {
        token.kind = Token::kRest;
        return true;
    }
    if (word == "-") {
        token.kind = Token::kHold;
        return true;
    }
    std::string body = word;
    token.velocity = 0.78;
    if (body.back() == '!') {
        token.velocity = 1.0;
        body.pop_back();
    } else if (body.back() == '\'') {
        token.velocity = 0.5;
        body.pop_back();
    }
    token.kind = Token::kSound;
    std::size_t start = 0;
    while (start <= body.size()) {
        const std::size_t plus = body.find('+', start);
        const std::size_t end = plus == std::string::npos ? body.size() : plus;
        if (end == start) {
            return false;
        }
        token.parts.push_back(body.substr(start, end - start));
        if (plus == std::string::npos) {
            break;
        }
        start = plus + 1;
    }
    return !token.parts.empty();
}

bool Fail(std::string& error, int line, const std::string& what) {
    error = "line " + std::to_string(line) + ": " + what;
    return false;
}

// Turns a voice's whole token sequence into events.
bool MakeEvents(Voice& voice, const std::vector<Token>& tokens, std::string& error) {
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Token::kSound) {
            continue;
        }
        std::size_t steps = 1;
        while (i + steps < tokens.size() && tokens[i + steps].kind == Token::kHold) {
            ++steps;
        }
        for (const std::string& part : tokens[i].parts) {
            NoteEvent event;
            event.step = i;
            event.steps = steps;
            event.velocity = tokens[i].velocity;
            if (voice.instrument == Instrument::kDrums) {
                if (part.size() != 1 || !IsDrum(part[0])) {
                    error = "voice " + voice.name + ": '" + part + "' is not a drum";
                    return false;
                }
                event.drum = part[0];
            } else if (!ParsePitch(part, event.midi)) {
                error = "voice " + voice.name + ": '" + part + "' is not a note";
                return false;
            }
            voice.events.push_back(event);
        }
    }
    return true;
}

}  // namespace

bool ParseSong(const std::string& text, Song& song, std::string& error) {
    std::map<std::string, std::vector<Token>> patterns;
    std::map<std::string, std::vector<Token>> played;
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    std::string open_pattern;
    while (std::getline(lines, line)) {
        ++number;
        const std::vector<std::string> w = Words(line);
        if (w.empty()) {
            continue;
        }
        if (!open_pattern.empty()) {
            if (w[0] == "end") {
                open_pattern.clear();
                continue;
            }
            for (const std::string& word : w) {
                Token token;
                if (!ParseToken(word, token)) {
                    return Fail(error, number, "cannot read '" + word + "'");
                }
                patterns[open_pattern].push_back(token);
            }
            continue;
        }
        double value = 0.0;
        const std::string& key = w[0];
        if ((key == "tempo" || key == "steps" || key == "bars" || key == "beats" ||
             key == "reverb" || key == "peak") &&
            w.size() == 2 && ParseNumber(w[1], value)) {
            if (key == "tempo") {
                song.tempo = value;
            } else if (key == "steps") {
                song.steps_per_beat = static_cast<int>(value);
            } else if (key == "bars") {
                song.bars = static_cast<int>(value);
            } else if (key == "beats") {
                song.beats_per_bar = static_cast<int>(value);
            } else if (key == "reverb") {
                song.reverb_size = value;
            } else {
                song.peak_db = value;
            }
        } else if (key == "echo" && w.size() == 3 && ParseNumber(w[1], value)) {
            song.echo_steps = static_cast<int>(value);
            if (!ParseNumber(w[2], song.echo_feedback)) {
                return Fail(error, number, "echo wants steps and feedback");
            }
        } else if (key == "voice" && w.size() >= 3 && w.size() % 2 == 1) {
            Voice voice;
            voice.name = w[1];
            if (!InstrumentNamed(w[2], voice.instrument)) {
                return Fail(error, number, "no instrument named " + w[2]);
            }
            for (std::size_t i = 3; i + 1 < w.size(); i += 2) {
                double setting = 0.0;
                if (!ParseNumber(w[i + 1], setting)) {
                    return Fail(error, number, "'" + w[i + 1] + "' is not a number");
                }
                if (w[i] == "volume") {
                    voice.volume = setting;
                } else if (w[i] == "pan") {
                    voice.pan = setting;
                } else if (w[i] == "echo") {
                    voice.echo = setting;
                } else if (w[i] == "reverb") {
                    voice.reverb = setting;
                } else {
                    return Fail(error, number, "unknown voice setting " + w[i]);
                }
            }
            song.voices.push_back(voice);
        } else if (key == "pattern" && w.size() == 2) {
            open_pattern = w[1];
            patterns[open_pattern].clear();
        } else if (key == "play" && w.size() >= 3) {
            std::vector<Token>& sequence = played[w[1]];
            for (std::size_t i = 2; i < w.size(); ++i) {
                std::string name = w[i];
                int times = 1;
                const std::size_t star = name.find('*');
                if (star != std::string::npos) {
                    double count = 0.0;
                    if (!ParseNumber(name.substr(star + 1), count) || count < 1) {
                        return Fail(error, number, "bad repeat in " + name);
                    }
                    times = static_cast<int>(count);
                    name = name.substr(0, star);
                }
                if (patterns.count(name) == 0) {
                    return Fail(error, number, "no pattern named " + name);
                }
                for (int t = 0; t < times; ++t) {
                    sequence.insert(sequence.end(), patterns[name].begin(), patterns[name].end());
                }
            }
        } else {
            return Fail(error, number, "cannot read this line");
        }
    }
    if (!open_pattern.empty()) {
        return Fail(error, number, "pattern " + open_pattern + " has no end");
    }
    if (song.bars < 1 || song.steps_per_beat < 1 || song.beats_per_bar < 1 || song.tempo <= 0) {
        return Fail(error, number, "tempo, steps, beats and bars must be positive");
    }
    for (Voice& voice : song.voices) {
        const auto found = played.find(voice.name);
        if (found == played.end()) {
            error = "voice " + voice.name + " plays nothing";
            return false;
        }
        // Every voice must fill the loop exactly, or the parts would drift apart.
        if (found->second.size() != song.TotalSteps()) {
            error = "voice " + voice.name + " has " + std::to_string(found->second.size()) +
                    " steps, the loop has " + std::to_string(song.TotalSteps());
            return false;
        }
        if (!MakeEvents(voice, found->second, error)) {
            return false;
        }
    }
    for (const auto& entry : played) {
        bool known = false;
        for (const Voice& voice : song.voices) {
            known = known || voice.name == entry.first;
        }
        if (!known) {
            error = "play names no voice called " + entry.first;
            return false;
        }
    }
    return true;
}

}  // namespace korvane::soundgen
