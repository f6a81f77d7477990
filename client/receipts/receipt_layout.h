// Receipt layouts: tab-delimited text files in the data set's "Receipt Layouts" folder, one element (a box with
// a position and size in inches, a border, a fill, a font, an alignment and a literal text or a data field
// name) per line, read anew for every print.
#pragma once

#include <QString>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "client/ui/reserved_array.h"

namespace stk::client {

inline constexpr int kMaxReceiptElements = 500;
// A layout line of this many characters or more fails the load.
inline constexpr int kMaxLayoutLineLength = 3328;
// Colour value (white) that means "no border" or "no fill".
inline constexpr std::int32_t kNoColour = 16777215;

// One element as read from its line: the 17 fields, trimmed, plus its right and bottom edges. Colours are
// Windows colour values 0x00BBGGRR; distances are inches.
struct ReceiptElement {
    char name[64];      // a data field name (any case), or any other text for a literal element
    char spare[260];    // kept with the element; printing does not use it
    char literal[256];  // what a literal element prints
    char font_face[256];
    std::int32_t font_size;         // points
    std::int32_t weight;            // 700 bold, 400 otherwise
    std::int32_t italic;            // 1 or 0
    char horizontal_alignment[32];  // "LEFT", "CENTER", "RIGHT" (any case)
    char vertical_alignment[32];    // "TOP", "CENTER" (any case)
    double left;
    double top;  // from the top of the printable area
    double width;
    double height;
    double border_width;
    std::int32_t border_colour;
    std::int32_t fill_colour;
    std::int32_t text_colour;
    char padding[4];
    double right;   // left + width
    double bottom;  // top + height
};
static_assert(sizeof(ReceiptElement) == 984);
static_assert(offsetof(ReceiptElement, spare) == 64);
static_assert(offsetof(ReceiptElement, literal) == 324);
static_assert(offsetof(ReceiptElement, font_face) == 580);
static_assert(offsetof(ReceiptElement, font_size) == 836);
static_assert(offsetof(ReceiptElement, horizontal_alignment) == 848);
static_assert(offsetof(ReceiptElement, vertical_alignment) == 880);
static_assert(offsetof(ReceiptElement, left) == 912);
static_assert(offsetof(ReceiptElement, border_width) == 944);
static_assert(offsetof(ReceiptElement, border_colour) == 952);
static_assert(offsetof(ReceiptElement, text_colour) == 960);
static_assert(offsetof(ReceiptElement, right) == 968);
static_assert(offsetof(ReceiptElement, bottom) == 976);

// The element table: 1-based, reserved once for kMaxReceiptElements elements.
using ReceiptLayout = ReservedArray<ReceiptElement>;

// Empties `table` and fills it from a layout file's content. Lines end in CR LF or a bare LF; a final line
// end adds no element, an empty line is an element with everything empty or zero. Returns false (the table
// then holds the elements before the fault) when a line has kMaxLayoutLineLength characters or more, a text
// field is over its limit, or the table would exceed kMaxReceiptElements elements or cannot grow.
bool parse_layout(std::string_view content, ReceiptLayout& table);

// Reads the file at `path` whole and parses it. false also when the file cannot be opened or read in full; an
// empty file is a layout without elements.
bool load_layout(const QString& path, ReceiptLayout& table);

// The table's elements in file order.
inline std::span<const ReceiptElement> elements(const ReceiptLayout& table) {
    if (table.count() == 0) return {};
    return {&table[1], static_cast<std::size_t>(table.count())};
}

}  // namespace stk::client
