#pragma once

#include <QPixmap>
#include <QWidget>

class QLabel;

namespace tavorin {

// The full-screen viewer "Preview Image": topmost, without title bar,
// maximised; a click anywhere (on the picture or the margin around it)
// closes it. Callers create it, show it, then hand it the picture:
//     auto* viewer = new frmFullscreen();   // deletes itself on close
//     viewer->show();
//     viewer->Preview_Picture(picture);
// A null picture gives an empty viewer that still closes on a click.
class frmFullscreen : public QWidget {
    Q_OBJECT
  public:
    explicit frmFullscreen(QWidget* parent = nullptr);
    ~frmFullscreen() override;

    // The size in pixels of the screen the viewer opens on from `near`:
    // what a picture is decoded at for it.
    static QSize ScreenPixels(const QWidget* near);

    // Switches frm between normal with a title bar and maximised without.
    static void ToggleFullScreen(QWidget& frm);

    // Shows a copy of the picture fitted to the window; the caller's
    // picture is untouched.
    void Preview_Picture(const QPixmap& picture);

    // The picture control, for callers that need its geometry.
    const QLabel& imgPreview() const { return *imgPreview_; }

    void Form_Click();
    void imgPreview_Click();

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Form_Load();
    void fitToWindow();

    QLabel* imgPreview_;
};

} // namespace tavorin
