// Everything of the main window that waits for the user or makes a sound goes through this
// interface, so that tests can answer in its place.
#pragma once

#include <QString>

class QDialog;
class QWidget;

// A file dialog as the window sets it up; the filter is "description|pattern".
struct FileDialogRequest {
  bool save = false;
  QString title;
  QString folder;
  QString fileName;
  QString filter;
  QString defaultSuffix;
};

// The folder of a chosen file, separator included, where the next dialog opens; with no
// separator after the first character only that character is left, as it has always been.
QString FolderOf(const QString &path);

class UserDialogs {
public:
  enum class Icon { None, Critical };

  virtual ~UserDialogs() = default;
  virtual void Beep() = 0;
  // A modal box with an OK button.
  virtual void ShowMessage(QWidget *parent, const QString &title, const QString &text,
                           Icon icon) = 0;
  // A question with Yes and No; true for Yes.
  virtual bool Confirm(QWidget *parent, const QString &title, const QString &text) = 0;
  // The chosen path, or an empty text when the user cancels.
  virtual QString AskFileName(QWidget *parent, const FileDialogRequest &request) = 0;
  // Shows one of the program's own dialogs modally; answers its result code.
  virtual int RunModal(QDialog &dialog) = 0;
};

// The real thing: Qt's message boxes and the system beep.
class QtUserDialogs final : public UserDialogs {
public:
  void Beep() override;
  void ShowMessage(QWidget *parent, const QString &title, const QString &text, Icon icon) override;
  bool Confirm(QWidget *parent, const QString &title, const QString &text) override;
  QString AskFileName(QWidget *parent, const FileDialogRequest &request) override;
  int RunModal(QDialog &dialog) override;
};
