// The converter's two readers fed any bytes. A picture they accept holds
// exactly its pixels and is never larger than the game shows; a PNG file can
// cost no more memory than such a picture, whatever its chunks claim.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/kvp/picture.h"

namespace {

void CheckAccepted(const korvane::kvp::Picture& picture) {
    if (picture.width == 0 || picture.height == 0 ||
        picture.rgb.size() != static_cast<size_t>(picture.width) * picture.height * 3) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace korvane::kvp;
    const std::vector<uint8_t> bytes(data, data + size);
    std::string error;
    Picture picture;
    if (DecodePng(bytes, "fuzz.png", &picture, &error)) {
        CheckAccepted(picture);
        if (picture.width > kMaxWidth || picture.height > kMaxHeight) {
            std::abort();
        }
    } else if (error.empty()) {
        std::abort();  // every refusal says why
    }
    error.clear();
    picture = Picture{};
    if (DecodeKvp(bytes, "fuzz.kvp", &picture, &error)) {
        CheckAccepted(picture);
        // The pixels are the file's blue-green-red bytes, turned round.
        if (size < 14 + picture.rgb.size() || picture.rgb[0] != data[16]) {
            std::abort();
        }
    } else if (error.empty()) {
        std::abort();
    }
    return 0;
}
