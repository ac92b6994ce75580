// korvane-music.js: the web page's worker that makes the two music loops in
// the player's browser instead of downloading them (11 MB of WAV against a
// few kilobytes of notes). The notes are packed into the worker; each loop
// is handed to the page as soon as it is made, the menu's first since the
// menu is heard first. The bytes are those the desktop build's generator
// writes, so the game hears the same sound on every system.
#include <emscripten.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/soundgen/song_wav.h"

namespace {

// NOLINTBEGIN: the worker's side, in JavaScript
// clang-format off
// The file goes with its SHA-256, worked out here rather than on the page's
// own thread; the page compares it with the build's.
EM_JS(void, korvane_post_file, (const char* name, const uint8_t* bytes, uint32_t count), {
    var copy = HEAPU8.slice(bytes, bytes + count);
    var path = UTF8ToString(name);
    var send = function(digest) {
        postMessage({ name: path, bytes: copy.buffer, sha256: digest }, [copy.buffer]);
    };
    if (self.crypto && crypto.subtle) {
        crypto.subtle.digest("SHA-256", copy).then(function(d) {
            send(Array.from(new Uint8Array(d), function(b) {
                return (b < 16 ? "0" : "") + b.toString(16);
            }).join(""));
        }, function() { send(null); });
    } else {
        send(null);
    }
});
EM_JS(void, korvane_post_failure, (const char* what), {
    postMessage({ failed: UTF8ToString(what) });
});
// clang-format on
// NOLINTEND

bool MakeLoop(const char* notesPath, const char* gamePath) {
    std::ifstream in(notesPath, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::vector<std::uint8_t> wav;
    std::string error;
    if (!in || !korvane::soundgen::SongToWav(text.str(), wav, error)) {
        korvane_post_failure(gamePath);
        return false;
    }
    korvane_post_file(gamePath, wav.data(), static_cast<uint32_t>(wav.size()));
    return true;
}

}  // namespace

int main() {
    const bool ok = MakeLoop("/music/menu.notes", "Sound/Background.wav") &&
                    MakeLoop("/music/play.notes", "Sound/Music.wav");
    return ok ? 0 : 1;
}
