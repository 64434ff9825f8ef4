// The anaglyph-method table: the filter-colour pairs of the grey anaglyph and the kinds of
// the colour anaglyph, one row each with its stored number, its name on the command line,
// its menu item and its composition. A new method is a row here and its function in
// combine.cpp.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "core/image/image_buffer.h"
#include "core/shell/command_ids.h"
#include "core/stereo/anaglyph_tables.h"
#include "core/stereo/common_area.h"
#include "core/stereo/display_mode.h"

namespace duplora {

// W × H anaglyph of the two views' common area.
using AnaglyphComposeFn = ImageBuffer (*)(const ImageBuffer& first, const ImageBuffer& second,
                                          const CommonArea& area, const AnaglyphTables& tables);

struct AnaglyphMethodRow {
    DisplayMode mode;      // GreyAnaglyph for the pairs, ColourAnaglyph for the kinds
    int number;            // GreyAnaglyphPair or ColourAnaglyphKind: what the settings store
    std::string_view key;  // the converter's name for it ("red-cyan")
    std::string_view menuText;
    CommandId command;  // selects the method and shows its mode
    AnaglyphComposeFn compose;
};

// The grey pairs, then the colour kinds, each in the order of their numbers (the order of
// their menus).
std::span<const AnaglyphMethodRow> AnaglyphMethodTable();

// The methods of one mode, in menu order.
std::span<const AnaglyphMethodRow> AnaglyphMethodsOf(DisplayMode mode);

// The row of a method; nullptr for a number that names none.
const AnaglyphMethodRow* FindAnaglyphMethod(GreyAnaglyphPair pair);
const AnaglyphMethodRow* FindAnaglyphMethod(ColourAnaglyphKind kind);
const AnaglyphMethodRow* AnaglyphMethodByCommand(CommandId command);
const AnaglyphMethodRow* AnaglyphMethodByKey(DisplayMode mode, std::string_view key);

// The method an anaglyph mode shows with these choices: the pair for the grey anaglyph, the
// kind for the colour anaglyph; nullptr for another mode or a choice that is not in the table.
const AnaglyphMethodRow* ChosenAnaglyphMethod(DisplayMode mode, GreyAnaglyphPair pair,
                                              ColourAnaglyphKind kind);

// The pair or kind with a stored number; none for a number that names none.
std::optional<GreyAnaglyphPair> GreyAnaglyphPairFromNumber(int number);
std::optional<ColourAnaglyphKind> ColourAnaglyphKindFromNumber(int number);

// The composition of the method; none for a pair or kind that is not in the table.
ImageBuffer ComposeGreyAnaglyph(const ImageBuffer& first, const ImageBuffer& second,
                                const CommonArea& area, GreyAnaglyphPair pair,
                                const AnaglyphTables& tables);
ImageBuffer ComposeColourAnaglyph(const ImageBuffer& first, const ImageBuffer& second,
                                  const CommonArea& area, ColourAnaglyphKind kind,
                                  const AnaglyphTables& tables);

}  // namespace duplora
