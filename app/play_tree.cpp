#include "app/play_tree.h"

#include "app/texts.h"

#include <QJsonArray>
#include <QTreeWidget>

namespace play_tree {

namespace {

// The solution list writes a pawn's move behind a blank and castling behind two.
QString ListLine(const QString &text) {
  if (text.startsWith(QLatin1String("0-0")))
    return QStringLiteral("  ") + text;
  if (!text.isEmpty() && text.at(0).isLower())
    return QLatin1Char(' ') + text;
  return text;
}

QString Printed(const QJsonObject &node) {
  const QString text = node[QLatin1String("text")].toString();
  if (node[QLatin1String("mate")].toBool())
    return text + QStringLiteral(" #");
  if (node[QLatin1String("check")].toBool())
    return text + QStringLiteral(" +");
  return text;
}

bool Flag(const QJsonObject &node, const char *name) { return node[QLatin1String(name)].toBool(); }

QJsonArray Replies(const QJsonObject &node) { return node[QLatin1String("replies")].toArray(); }

QTreeWidgetItem *MoveItem(QTreeWidgetItem *parent, QString label, const QJsonObject &node,
                          bool white) {
  if (Flag(node, "cut"))
    label += QStringLiteral(" ...");
  auto *item = new QTreeWidgetItem(parent, {label});
  item->setData(0, kLineRole, ListLine(node[QLatin1String("text")].toString()));
  item->setData(0, kWhiteRole, white);
  item->setExpanded(true);
  return item;
}

void AddBlack(QTreeWidgetItem *parent, const QJsonObject &black, int number);

void AddWhite(QTreeWidgetItem *parent, const QJsonObject &white, int number) {
  QString label = QStringLiteral("%1.%2").arg(number).arg(Printed(white));
  if (Flag(white, "dual"))
    label += texts::kPlayDual;
  QTreeWidgetItem *item = MoveItem(parent, label, white, true);
  for (const QJsonValue &black : Replies(white))
    AddBlack(item, black.toObject(), number);
}

void AddBlack(QTreeWidgetItem *parent, const QJsonObject &black, int number) {
  QString label = QStringLiteral("%1...%2").arg(number).arg(Printed(black));
  // A Black move after which nothing forces mate refutes a try.
  if (!black.contains(QLatin1String("mateIn")))
    label = QStringLiteral("but %1 !").arg(label);
  else if (Flag(black, "byThreat"))
    label += texts::kPlayByThreat;
  QTreeWidgetItem *item = MoveItem(parent, label, black, false);
  // What the threat answers is shown under the threat already: folded.
  item->setExpanded(!Flag(black, "byThreat"));
  for (const QJsonValue &white : Replies(black))
    AddWhite(item, white.toObject(), number + 1);
}

} // namespace

void Fill(QTreeWidget &tree, const QJsonObject &document) {
  tree.clear();
  const bool key = document[QLatin1String("kind")].toString() == QLatin1String("key");
  QTreeWidgetItem *first =
      MoveItem(tree.invisibleRootItem(),
               QStringLiteral("1.%1 %2").arg(Printed(document),
                                             key ? QStringLiteral("!") : QStringLiteral("?")),
               document, true);
  const QJsonArray threat = document[QLatin1String("threat")].toArray();
  if (!threat.isEmpty()) {
    auto *heading = new QTreeWidgetItem(first, {texts::kPlayThreat});
    heading->setExpanded(true);
    for (const QJsonValue &white : threat)
      AddWhite(heading, white.toObject(), 2);
  } else if (Flag(document, "zugzwang")) {
    new QTreeWidgetItem(first, {texts::kPlayZugzwang});
  }
  for (const QJsonValue &black : Replies(document))
    AddBlack(first, black.toObject(), 1);
}

} // namespace play_tree
