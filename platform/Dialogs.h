#pragma once

#include <QString>

class QWidget;

namespace tavorin {

enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgResult { Ok, Cancel, Yes, No };

// Message boxes and the common file dialogs. The program uses QtDialogs;
// tests answer from a script.
class IDialogs {
  public:
    virtual ~IDialogs() = default;

    // A box without its own title carries the application title "Tavorin".
    virtual MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                             const QString& title = QStringLiteral("Tavorin")) = 0;

    // filter: Qt filter text, e.g. "Tavorin List (*.tl)". Empty on cancel.
    virtual QString GetOpenFileName(QWidget* owner, const QString& title, const QString& startPath,
                                    const QString& filter) = 0;
    // No overwrite prompt and no default extension. Empty on cancel.
    virtual QString GetSaveFileName(QWidget* owner, const QString& title, const QString& startPath,
                                    const QString& filter) = 0;
    // A folder chooser. Empty on cancel.
    virtual QString BrowseForFolder(QWidget* owner, const QString& title) = 0;
};

class QtDialogs final : public IDialogs {
  public:
    MsgResult MsgBox(const QString& text, MsgButtons buttons, MsgIcon icon,
                     const QString& title) override;
    QString GetOpenFileName(QWidget* owner, const QString& title, const QString& startPath,
                            const QString& filter) override;
    QString GetSaveFileName(QWidget* owner, const QString& title, const QString& startPath,
                            const QString& filter) override;
    QString BrowseForFolder(QWidget* owner, const QString& title) override;
};

} // namespace tavorin
