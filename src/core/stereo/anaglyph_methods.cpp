#include "core/stereo/anaglyph_methods.h"

#include <algorithm>

#include "core/stereo/combine.h"

namespace duplora {

namespace {

constexpr DisplayMode kGrey = DisplayMode::GreyAnaglyph;
constexpr DisplayMode kColour = DisplayMode::ColourAnaglyph;

// clang-format off
constexpr AnaglyphMethodRow kMethods[] = {
    {kGrey, 0, "red-cyan", "rot/&cyan", CmdGreyRedCyan, ComposeGreyRedCyan},
    {kGrey, 1, "red-green", "&rot/grün", CmdGreyRedGreen, ComposeGreyRedGreen},
    {kGrey, 2, "red-blue", "rot/&blau", CmdGreyRedBlue, ComposeGreyRedBlue},
    {kGrey, 3, "yellow-blue", "&gelb/blau", CmdGreyYellowBlue, ComposeGreyYellowBlue},
    {kColour, 0, "colour-red-cyan", "Farbe (&rot/cyan)", CmdColourRedCyan,
     ComposeColourRedCyan},
    {kColour, 1, "halftone-red-cyan", "Halbton (rot/&cyan)", CmdHalfToneRedCyan,
     ComposeHalfToneRedCyan},
    {kColour, 2, "colour-yellow-blue", "Farbe (&gelb/blau)", CmdColourYellowBlue,
     ComposeColourYellowBlue},
    {kColour, 3, "halftone-yellow-blue", "Halbton (gelb/&blau)", CmdHalfToneYellowBlue,
     ComposeHalfToneYellowBlue},
    {kColour, 4, "dubois-red-cyan", "&Dubois (rot/cyan)", CmdDuboisRedCyan,
     ComposeDuboisRedCyan},
    {kColour, 5, "dubois-green-magenta", "Dubois (grün/&magenta)", CmdDuboisGreenMagenta,
     ComposeDuboisGreenMagenta},
    {kColour, 6, "dubois-amber-blue", "Dubois (&amber/blau)", CmdDuboisAmberBlue,
     ComposeDuboisAmberBlue},
};
// clang-format on

const AnaglyphMethodRow* Find(DisplayMode mode, int number) {
    const auto it = std::ranges::find_if(
        kMethods, [&](const AnaglyphMethodRow& r) { return r.mode == mode && r.number == number; });
    return it == std::end(kMethods) ? nullptr : &*it;
}

}  // namespace

std::span<const AnaglyphMethodRow> AnaglyphMethodTable() {
    return kMethods;
}

std::span<const AnaglyphMethodRow> AnaglyphMethodsOf(DisplayMode mode) {
    // The rows of a mode stand together.
    const auto first = std::ranges::find(kMethods, mode, &AnaglyphMethodRow::mode);
    const auto last = std::find_if(first, std::end(kMethods),
                                   [mode](const AnaglyphMethodRow& r) { return r.mode != mode; });
    return {first, last};
}

const AnaglyphMethodRow* FindAnaglyphMethod(GreyAnaglyphPair pair) {
    return Find(kGrey, static_cast<int>(pair));
}

const AnaglyphMethodRow* FindAnaglyphMethod(ColourAnaglyphKind kind) {
    return Find(kColour, static_cast<int>(kind));
}

const AnaglyphMethodRow* AnaglyphMethodByCommand(CommandId command) {
    const auto it = std::ranges::find(kMethods, command, &AnaglyphMethodRow::command);
    return it == std::end(kMethods) ? nullptr : &*it;
}

const AnaglyphMethodRow* AnaglyphMethodByKey(DisplayMode mode, std::string_view key) {
    const auto it = std::ranges::find_if(
        kMethods, [&](const AnaglyphMethodRow& r) { return r.mode == mode && r.key == key; });
    return it == std::end(kMethods) ? nullptr : &*it;
}

const AnaglyphMethodRow* ChosenAnaglyphMethod(DisplayMode mode, GreyAnaglyphPair pair,
                                              ColourAnaglyphKind kind) {
    if (mode == kGrey) return FindAnaglyphMethod(pair);
    if (mode == kColour) return FindAnaglyphMethod(kind);
    return nullptr;
}

std::optional<GreyAnaglyphPair> GreyAnaglyphPairFromNumber(int number) {
    if (!Find(kGrey, number)) return std::nullopt;
    return static_cast<GreyAnaglyphPair>(number);
}

std::optional<ColourAnaglyphKind> ColourAnaglyphKindFromNumber(int number) {
    if (!Find(kColour, number)) return std::nullopt;
    return static_cast<ColourAnaglyphKind>(number);
}

ImageBuffer ComposeGreyAnaglyph(const ImageBuffer& first, const ImageBuffer& second,
                                const CommonArea& area, GreyAnaglyphPair pair,
                                const AnaglyphTables& tables) {
    const AnaglyphMethodRow* row = FindAnaglyphMethod(pair);
    return row ? row->compose(first, second, area, tables) : ImageBuffer{};
}

ImageBuffer ComposeColourAnaglyph(const ImageBuffer& first, const ImageBuffer& second,
                                  const CommonArea& area, ColourAnaglyphKind kind,
                                  const AnaglyphTables& tables) {
    const AnaglyphMethodRow* row = FindAnaglyphMethod(kind);
    return row ? row->compose(first, second, area, tables) : ImageBuffer{};
}

}  // namespace duplora
