// frmAbout: the program's title, version, description and disclaimer.
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

class frmAbout : public QDialog {
  Q_OBJECT

public:
  explicit frmAbout(QWidget *parent);

  QLabel *picIcon = nullptr;
  QLabel *lblTitle = nullptr;
  QLabel *lblVersion = nullptr;
  QLabel *lblDescription = nullptr;
  QLabel *lblDisclaimer = nullptr;
  QPushButton *cmdOK = nullptr;
};
