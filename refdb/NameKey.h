#pragma once
// The forms in which taxon codes and names are compared when looking for the list entry a
// user meant: without regard to case, spacing and punctuation, and for names without the
// rank markers ("var.", "f.", "subsp." ...) and without a trailing authority.
#include <string>
#include <string_view>

namespace frusta {

// The code's ASCII letters and digits, letters in lower case ("AC 001-a" gives "ac001a");
// other bytes (those of non-ASCII characters) are kept as they are.
std::string codeKey(std::string_view code);

// The name's genus and epithets in lower case, one space between them: punctuation
// removed, rank markers dropped, and the words from the authority on left out. The
// authority begins, after the genus and one epithet, at a word that begins with a capital
// or "(" or is one of "in", "ex", "et" and "&". In a name written wholly in capitals only
// "(" and those words begin it. "Achnanthes minutissima var. jackii (Rabenh.) Grunow" gives
// "achnanthes minutissima jackii".
std::string nameKey(std::string_view name);

} // namespace frusta
