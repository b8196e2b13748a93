// The help viewer: a window of the program with the topics on the left and the chosen topic on
// the right.
#pragma once

#include "app/output/help_file.h"

#include <QWidget>

class QListWidget;
class QTextBrowser;

class HelpViewer : public QWidget {
  Q_OBJECT

public:
  explicit HelpViewer(QWidget *parent);

  // Reads the file (each time, so an edited file shows at once) and shows topic `context`, or
  // the contents when it is 0. A missing file or topic is said in the viewer itself.
  void Show(const QString &helpFile, int context);

  QListWidget *topics = nullptr;
  QTextBrowser *page = nullptr;

private:
  void ShowContents(const QString &note);

  HelpDocument document_;
};
