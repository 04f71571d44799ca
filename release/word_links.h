#pragma once
// Web and e-mail addresses among recognised words, for link annotations.

#include <QString>

namespace zan::release {

// The link a recognised word stands for: "https://www.example.com/a" for "www.example.com/a",
// the address itself for "http://..." and "https://...", "mailto:ada@example.com" for
// "ada@example.com"; empty for any other word. Punctuation around the word does not count.
QString linkTarget(const QString& word);

}  // namespace zan::release
