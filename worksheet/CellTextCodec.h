#pragma once
// Cell texts are kept as the bytes the document holds. Documents written here
// hold UTF-8; documents from an 8-bit Windows system hold Windows-1252. Both
// must read well in the Cell box, and neither may change unless the user edits.
#include <string>
#include <string_view>

namespace korvel {

// The bytes as UTF-8: every well-formed UTF-8 sequence is kept, every other
// byte is read as its Windows-1252 character. Valid UTF-8 comes back unchanged.
std::string CellBytesToUtf8(std::string_view bytes);

}  // namespace korvel
