#include "controls/numeric_text.h"

#include "settings/automation_error.h"

#include <QLocale>

#include <cmath>
#include <string>

namespace zan {

double leadingNumber(const QString& text) {
  std::string digits;
  bool seenDigit = false, seenPoint = false, seenExponent = false, exponentDigit = false;
  for (const QChar c : text) {
    if (c == u' ' || c == u'\t' || c == u'\r' || c == u'\n') continue;
    const char ch = c.toLatin1();
    if (digits.empty() && (ch == '+' || ch == '-')) {
      digits += ch;
    } else if (ch >= '0' && ch <= '9') {
      digits += ch;
      if (seenExponent)
        exponentDigit = true;
      else
        seenDigit = true;
    } else if (ch == '.' && !seenPoint && !seenExponent) {
      digits += ch;
      seenPoint = true;
    } else if ((ch == 'e' || ch == 'E' || ch == 'd' || ch == 'D') && seenDigit && !seenExponent) {
      digits += 'e';
      seenExponent = true;
    } else if ((ch == '+' || ch == '-') && seenExponent && !exponentDigit && digits.back() == 'e') {
      digits += ch;
    } else {
      break;
    }
  }
  if (!seenDigit) return 0.0;
  // An exponent marker without digits is not part of the number.
  if (seenExponent && !exponentDigit) {
    digits.erase(digits.find('e'));
  }
  // Qt's conversion, unlike strtod, reads "." as the decimal point whatever the host's locale.
  return QLocale::c().toDouble(QLatin1String(digits.c_str()));
}

std::int16_t toInteger16(const QString& text) {
  const double rounded = std::nearbyint(leadingNumber(text));  // default mode: halves to even
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) {
    raiseClassic(classic::kOverflow, QStringLiteral("ZANPdfCtl4"));
  }
  return static_cast<std::int16_t>(rounded);
}

bool isWholeNumber(const QString& text) {
  int i = 0;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  if (i >= text.size()) return false;
  for (; i < text.size(); ++i) {
    if (!text[i].isDigit() || text[i].unicode() > 127) return false;
  }
  return true;
}

}  // namespace zan
