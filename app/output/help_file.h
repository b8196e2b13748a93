// The help file: plain text in topics. A line "@topic N Title" starts topic N; blank lines
// separate paragraphs, lines beginning "- " are list items, lines beginning "#" are remarks.
#pragma once

#include <QString>
#include <vector>

struct HelpTopic {
  int number = 0;
  QString title;
  QString text;
};

struct HelpDocument {
  QString title; // the first line
  std::vector<HelpTopic> topics;

  const HelpTopic *Find(int number) const;
};

// False with `error` when the file cannot be read or holds no topic.
bool ReadHelpFile(const QString &path, HelpDocument &document, QString &error);

// A topic's text as the HTML the viewer shows.
QString TopicHtml(const HelpTopic &topic);
