#pragma once
// The bytes of an INI file and its text. Files are read in whatever encoding a user or an
// older program left them in; they are always written as UTF-16LE after its byte-order mark,
// the one form in which the platform's own profile functions keep every character.
#include <functional>
#include <string>
#include <string_view>

// Text of the bytes of a file in the system's ANSI code page.
using AnsiDecoder = std::function<std::wstring(std::string_view)>;

// One character per byte: the ANSI decoder where there is no system to ask (Latin-1).
std::wstring decodeLatin1(std::string_view bytes);

// UTF-16 (either order) or UTF-8 after its byte-order mark; UTF-16 without a mark when its
// units hold zero bytes on one side and few on the other (ANSI and UTF-8 text hold none) and
// a CR LF of that order, or a quarter of the units such a zero byte; UTF-8 without a mark
// when every byte of it is well formed; otherwise the ANSI code page. A lone last byte of UTF-16 text
// is dropped, and malformed UTF-8 after a mark becomes U+FFFD, one per offending byte.
std::wstring decodeIniBytes(std::string_view bytes, const AnsiDecoder& ansi = decodeLatin1);

// The byte-order mark FF FE, then the text as UTF-16LE.
std::string encodeIniText(std::wstring_view text);
