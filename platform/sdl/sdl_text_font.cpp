#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <cstdlib>
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

bool ReadFace(const std::string& family, const char* file, int weight, FontFace* face) {
    std::ifstream in(file, std::ios::binary);
    face->bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (face->bytes.empty()) {
        return false;
    }
    face->family = family;
    face->file = file;
    face->bold = weight >= FC_WEIGHT_BOLD;
    return true;
}

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
    return ReadFace(family, reinterpret_cast<const char*>(file), weight, face);
}

struct FontSetFreer {
    void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};
struct ObjectSetFreer {
    void operator()(FcObjectSet* set) const { FcObjectSetDestroy(set); }
};

// Any scalable face this machine has that can write the ten digits, a bold
// one when there is one: the counters need nothing more.
bool FindAnyFaceWithDigits(FontFace* face) {
    Pattern pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetFreer> objects(
        FcObjectSetBuild(FC_FAMILY, FC_FILE, FC_WEIGHT, FC_CHARSET, FC_SCALABLE, nullptr));
    if (!pattern || !objects) {
        return false;
    }
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    std::unique_ptr<FcFontSet, FontSetFreer> faces(
        FcFontList(nullptr, pattern.get(), objects.get()));
    if (!faces) {
        return false;
    }
    FcPattern* best = nullptr;
    int bestWeight = -1;
    for (int i = 0; i < faces->nfont; ++i) {
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(faces->fonts[i], FC_CHARSET, 0, &characters) != FcResultMatch) {
            continue;
        }
        bool digits = true;
        for (FcChar32 c = '0'; c <= '9'; ++c) {
            digits = digits && FcCharSetHasChar(characters, c) == FcTrue;
        }
        int weight = 0;
        FcPatternGetInteger(faces->fonts[i], FC_WEIGHT, 0, &weight);
        // Bold first; among the rest, the one nearest to bold.
        const bool better = bestWeight < 0 || (bestWeight != FC_WEIGHT_BOLD &&
                                               std::abs(weight - FC_WEIGHT_BOLD) <
                                                   std::abs(bestWeight - FC_WEIGHT_BOLD));
        if (digits && better) {
            best = faces->fonts[i];
            bestWeight = weight;
        }
    }
    FcChar8* file = nullptr;
    FcChar8* family = nullptr;
    if (best == nullptr || FcPatternGetString(best, FC_FILE, 0, &file) != FcResultMatch) {
        return false;
    }
    FcPatternGetString(best, FC_FAMILY, 0, &family);
    return ReadFace(family != nullptr ? reinterpret_cast<const char*>(family) : "",
                    reinterpret_cast<const char*>(file), bestWeight, face);
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
        ok = ok || FindAnyFaceWithDigits(face.get());
        if (!ok) {
            face.reset();
        }
    }
    return found.emplace(wanted, std::move(face)).first->second.get();
}

}  // namespace korvane::platform::sdl
