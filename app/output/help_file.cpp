#include "app/output/help_file.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

const HelpTopic *HelpDocument::Find(int number) const {
  for (const HelpTopic &topic : topics) {
    if (topic.number == number)
      return &topic;
  }
  return nullptr;
}

bool ReadHelpFile(const QString &path, HelpDocument &document, QString &error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
    error =
        QStringLiteral("The help file %1 could not be opened: %2").arg(path, file.errorString());
    return false;
  }
  HelpDocument read;
  const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
  static const QRegularExpression topicLine(QStringLiteral("^@topic\\s+(\\d+)\\s+(.*)$"));
  for (const QString &line : lines) {
    if (line.startsWith(QLatin1Char('#')))
      continue;
    const QRegularExpressionMatch match = topicLine.match(line.trimmed());
    if (match.hasMatch()) {
      read.topics.push_back({match.captured(1).toInt(), match.captured(2).trimmed(), {}});
    } else if (!read.topics.empty()) {
      read.topics.back().text += line + QLatin1Char('\n');
    } else if (read.title.isEmpty()) {
      read.title = line.trimmed();
    }
  }
  if (read.topics.empty()) {
    error = QStringLiteral("The help file %1 holds no topics.").arg(path);
    return false;
  }
  document = read;
  return true;
}

QString TopicHtml(const HelpTopic &topic) {
  QString html = QStringLiteral("<h2>%1</h2>").arg(topic.title.toHtmlEscaped());
  bool inList = false;
  for (const QString &paragraph : topic.text.split(QStringLiteral("\n\n"))) {
    const QString trimmed = paragraph.trimmed();
    if (trimmed.isEmpty())
      continue;
    for (const QString &line : trimmed.split(QLatin1Char('\n'))) {
      if (line.startsWith(QLatin1String("- "))) {
        if (!inList)
          html += QStringLiteral("<ul>");
        inList = true;
        html += QStringLiteral("<li>%1</li>").arg(line.mid(2).toHtmlEscaped());
        continue;
      }
      if (inList)
        html += QStringLiteral("</ul>");
      inList = false;
      html += QStringLiteral("<p>%1</p>").arg(line.toHtmlEscaped());
    }
    if (inList)
      html += QStringLiteral("</ul>");
    inList = false;
  }
  return html;
}
