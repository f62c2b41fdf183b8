#pragma once
// Weight bounds as text: one line per share, "name,min,max" (comma, semicolon
// or tab between them), an empty min or max keeping the default; a first
// line "name,min,max" is a header.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvel::doc {

struct BoundsLine {
    int line = 0;
    std::string name;
    std::optional<double> lower, upper;
};

// False with a reason naming the line and field.
bool ReadBoundsText(std::string_view text, std::vector<BoundsLine>& lines, std::string& error);

}  // namespace korvel::doc
