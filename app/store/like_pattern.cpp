#include "app/store/like_pattern.h"

namespace {

// Matches one "[...]" set at pattern[p] against c; `end` is set past the closing bracket.
// A set without a closing bracket is no pattern at all and matches nothing.
bool InSet(const QString &pattern, int p, QChar c, int &end) {
  int i = p + 1;
  bool negated = false;
  if (i < pattern.size() && pattern[i] == QLatin1Char('!')) {
    negated = true;
    ++i;
  }
  bool found = false;
  const QChar lower = c.toLower();
  for (; i < pattern.size() && pattern[i] != QLatin1Char(']'); ++i) {
    QChar first = pattern[i].toLower();
    QChar last = first;
    if (i + 2 < pattern.size() && pattern[i + 1] == QLatin1Char('-') &&
        pattern[i + 2] != QLatin1Char(']')) {
      last = pattern[i + 2].toLower();
      i += 2;
    }
    if (lower >= first && lower <= last)
      found = true;
  }
  if (i >= pattern.size()) {
    end = -1;
    return false;
  }
  end = i + 1;
  return found != negated;
}

bool Match(const QString &text, int t, const QString &pattern, int p) {
  while (p < pattern.size()) {
    const QChar symbol = pattern[p];
    if (symbol == QLatin1Char('*')) {
      for (int rest = t; rest <= text.size(); ++rest) {
        if (Match(text, rest, pattern, p + 1))
          return true;
      }
      return false;
    }
    if (t >= text.size())
      return false;
    const QChar c = text[t];
    if (symbol == QLatin1Char('?')) {
      ++p;
    } else if (symbol == QLatin1Char('#')) {
      if (!c.isDigit())
        return false;
      ++p;
    } else if (symbol == QLatin1Char('[')) {
      int end = 0;
      if (!InSet(pattern, p, c, end))
        return false;
      p = end;
    } else {
      if (c.toLower() != symbol.toLower())
        return false;
      ++p;
    }
    ++t;
  }
  return t == text.size();
}

} // namespace

bool IsLike(const QString &text, const QString &pattern) { return Match(text, 0, pattern, 0); }

QString LikeLiteral(const QString &text) {
  QString pattern;
  for (const QChar c : text) {
    if (c == QLatin1Char('*') || c == QLatin1Char('?') || c == QLatin1Char('#') ||
        c == QLatin1Char('['))
      pattern += QLatin1Char('[') + c + QLatin1Char(']');
    else
      pattern += c;
  }
  return pattern;
}
