#include "app/run_texts.h"

#include "app/texts.h"

QString DepthLabel(int sliderValue, bool dragging) {
  const QString text = QStringLiteral("mate in %1 move").arg(sliderValue + 1);
  return dragging || sliderValue != 0 ? text + QLatin1Char('s') : text;
}

QString ElapsedTimeLine(long long seconds) {
  long long minutes = seconds / 60;
  const long long secs = seconds - 60 * minutes;
  long long hours = minutes / 60;
  minutes -= 60 * hours;
  const long long days = hours / 24;
  hours -= 24 * days;
  QString line = texts::kTimeLine;
  if (days > 0)
    line += QStringLiteral("%1d ").arg(days);
  if (hours > 0 || days > 0)
    line += QStringLiteral("%1h ").arg(hours);
  if (minutes > 0 || hours > 0 || days > 0)
    line += QStringLiteral("%1m ").arg(minutes);
  return line + QStringLiteral("%1s").arg(secs);
}

int FileIndex(const QString &text, int p) {
  if (p < 1 || p > text.size())
    return 0;
  const char c = text.at(p - 1).toLower().toLatin1();
  return c >= 'a' && c <= 'h' ? c - 'a' : 0;
}

int DigitAt(const QString &text, int p) {
  if (p < 1 || p > text.size())
    return 0;
  const QChar c = text.at(p - 1);
  return c >= QLatin1Char('0') && c <= QLatin1Char('9') ? c.unicode() - '0' : 0;
}

bool IsNotice(const QString &line) { return line.startsWith(QLatin1String(">>")); }
