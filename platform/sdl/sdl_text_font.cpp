#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "platform/sdl/sdl_text_font.h"

namespace korvane::platform::sdl {
namespace {

// Faces near enough in look to stand in for the one asked for: narrow and
// heavy, so six digits fit the score's box.
constexpr const char* kStandIns[] = {"Liberation Sans Narrow", "Roboto Condensed",
                                     "DejaVu Sans Condensed"};

struct PatternFreer {
    void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternFreer>;

// fontconfig always answers with some face, falling back silently: asked for
// a family it lacks it may give a face of pictures whose every glyph still
// reports as present. A match counts only when its family is the one asked for.
bool FindFamily(const std::string& family, FontFace* face) {
    Pattern pattern(FcPatternCreate());
    if (!pattern) {
        return false;
    }
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_BOLD);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(nullptr, pattern.get(), &result));
    if (!match || result != FcResultMatch) {
        return false;
    }
    bool sameFamily = false;
    FcChar8* name = nullptr;
    for (int i = 0; FcPatternGetString(match.get(), FC_FAMILY, i, &name) == FcResultMatch; ++i) {
        sameFamily =
            sameFamily || strcasecmp(reinterpret_cast<const char*>(name), family.c_str()) == 0;
    }
    FcChar8* file = nullptr;
    if (!sameFamily || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch) {
        return false;
    }
    int weight = 0;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &weight);
    std::ifstream in(reinterpret_cast<const char*>(file), std::ios::binary);
    face->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (face->bytes.empty()) {
        return false;
    }
    face->family = family;
    face->file = reinterpret_cast<const char*>(file);
    face->bold = weight >= FC_WEIGHT_BOLD;
    return true;
}

}  // namespace

const FontFace* FindFontFace(const std::string& wanted) {
    static std::map<std::string, std::unique_ptr<FontFace>> found;
    auto known = found.find(wanted);
    if (known != found.end()) {
        return known->second.get();
    }
    std::unique_ptr<FontFace> face;
    if (FcInit() == FcTrue) {
        face = std::make_unique<FontFace>();
        bool ok = FindFamily(wanted, face.get());
        for (const char* standIn : kStandIns) {
            ok = ok || FindFamily(standIn, face.get());
        }
        if (!ok) {
            face.reset();
        }
    }
    return found.emplace(wanted, std::move(face)).first->second.get();
}

}  // namespace korvane::platform::sdl
