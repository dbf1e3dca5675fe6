#pragma once

#include <QPixmap>
#include <QWidget>

namespace tavorin {

// The full-screen viewer: topmost, frameless, maximised; a click closes it.
// Callers create it, show it, then hand it the picture:
//     auto* viewer = new frmFullscreen();   // deletes itself on close
//     viewer->show();
//     viewer->Preview_Picture(picture);
class frmFullscreen : public QWidget {
    Q_OBJECT
  public:
    explicit frmFullscreen(QWidget* parent = nullptr);
    ~frmFullscreen() override;

    // Shows the picture fitted to the screen; the caller's copy is untouched.
    void Preview_Picture(const QPixmap& picture);
};

} // namespace tavorin
