// The play of one key beside the main window: its tree, the progress of the task that works it
// out with a Cancel button, and what the task said when it ended. Not modal: the board and the
// solution list stay in use while it is open. While the solutions are scrambled it shows
// nothing of the play.
#pragma once

#include <QJsonObject>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTreeWidget;

class PlayPanel final : public QWidget {
  Q_OBJECT

public:
  // What End reports for a task the user cancelled, beside the control's own results.
  static constexpr short kCancelled = -1;

  explicit PlayPanel(QWidget *owner);

  // A new task for the key on this line of the solution list; the last play goes. The panel
  // shows itself, the first time beside `window`, later where the user left it.
  void Begin(const QString &keyLine, const QWidget &window);
  void SetProgress(short percent);
  // The control's JSON document of the key.
  void SetDocument(const QString &json);
  // The task has ended with the control's PlayFinished result, or kCancelled.
  void End(short result);
  void SetScrambled(bool scrambled);

signals:
  void CancelClicked();
  // A move of the tree chosen, as a line of the solution list; an empty line for a heading.
  void MoveSelected(const QString &line, bool white);
  void Closed();

protected:
  void closeEvent(QCloseEvent *event) override;

private:
  static constexpr short kRunning = -2;

  void Show();
  QString Status() const;

  QTreeWidget *tree_ = nullptr;
  QProgressBar *progress_ = nullptr;
  QLabel *status_ = nullptr;
  QPushButton *cancel_ = nullptr;
  QString key_;
  QJsonObject document_;
  short state_ = 0; // kRunning, or how the last task ended
  bool scrambled_ = false;
  bool placed_ = false;
};
