// PrintForm: "Print Chess Board on:" — the printers to choose from, the current one selected.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

class PrintForm : public QDialog {
  Q_OBJECT

public:
  // `printers` in the order the system lists them; `current` is preselected (compared without
  // regard to case), or the first entry when it is not among them.
  PrintForm(QWidget *parent, const QStringList &printers, const QString &current);

  // The chosen printer after OK; PrintOK stays false when the dialog was left any other way.
  bool PrintOK = false;
  QString chosen;

  QComboBox *PList = nullptr;
  QPushButton *cmdOK = nullptr;
  QPushButton *cmdCancel = nullptr;

private:
  void cmdOK_Click();
};
