#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QListWidget;

namespace tavorin {

// "Open with": a short list of the programs the desktop knows for a
// document's type.
class OpenWithDialog : public QDialog {
    Q_OBJECT
  public:
    struct Program {
        QString name;
        QString id;
    };

    OpenWithDialog(const QString& path, const QList<Program>& programs, QWidget* parent = nullptr);

    QString ChosenId() const;

  private:
    QListWidget* list_ = nullptr;
};

} // namespace tavorin
