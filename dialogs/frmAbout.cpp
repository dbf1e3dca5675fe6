// The about dialog: name, version, pictures and links.
#include "dialogs/frmAbout.h"

#include "Version.h"
#include "dialogs/AboutArt.h"
#include "platform/GioShell.h"

#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace tavorin {

namespace {

const QString kAppTitle = QStringLiteral("Tavorin");
const QString kUpdatesShortcut = QStringLiteral("URLS/Updates.url");
const QString kFeedbackShortcut = QStringLiteral("URLS/Send Feedback.url");

QLabel* linkLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    label->setPalette(palette);
    label->setCursor(Qt::PointingHandCursor);
    return label;
}

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

} // namespace

QString VersionText(int major, int minor, int revision) {
    return QStringLiteral("Version %1.%2.%3").arg(major).arg(minor).arg(revision);
}

frmAbout::frmAbout(Module1& m, QWidget* parent) : QDialog(parent), m_(m) {
    buildControls();
    Form_Load();
}

frmAbout::~frmAbout() = default;

void frmAbout::buildControls() {
    Image1 = new QLabel(this);
    Image1->setPixmap(AboutPicture(96));
    Image2 = new QLabel(this);
    Image2->setPixmap(AboutEmblem(32));

    lblTitle = new QLabel(QStringLiteral("Tavorin"), this);
    QFont title(QStringLiteral("Times New Roman"), 24, QFont::Bold);
    title.setStyleHint(QFont::Serif); // the closest serif face where it is missing
    lblTitle->setFont(title);

    lblVersion = new QLabel(this);
    Label2 = new QLabel(QStringLiteral("Changes your desktop wallpaper from your own list of "
                                       "pictures, on your schedule."),
                        this);
    Label2->setWordWrap(true);

    lblDescription = new QLabel(QStringLiteral("This program is a freeware. If you have any "
                                               "trouble, any ideas to improve it, please drop a "
                                               "mail to"),
                                this);
    lblDescription->setWordWrap(true);
    lblContact = linkLabel(this);

    Label1 = new QLabel(QStringLiteral("Tavorin Homepage:"), this);
    lblHomepage = linkLabel(this);

    lblDisclaimer = new QLabel(
        QStringLiteral("Copyright (c) 2026 The Tavorin developers. MIT License, no warranty."),
        this);
    QFont small = lblDisclaimer->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblDisclaimer->setFont(small);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setDefault(true);
    Line1[0] = separator(this);
    Line1[1] = separator(this);

    auto* heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    heading->addWidget(Label2);
    heading->addStretch(1);

    auto* top = new QHBoxLayout;
    top->addWidget(Image1, 0, Qt::AlignTop);
    top->addLayout(heading, 1);

    auto* links = new QGridLayout;
    links->addWidget(Label1, 0, 0);
    links->addWidget(lblHomepage, 0, 1);
    links->setColumnStretch(1, 1);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(Image2);
    bottom->addWidget(lblDisclaimer, 1);
    bottom->addWidget(cmdOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Line1[0]);
    layout->addWidget(lblDescription);
    layout->addWidget(lblContact);
    layout->addLayout(links);
    layout->addWidget(Line1[1]);
    layout->addLayout(bottom);
    setMinimumWidth(420);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    lblHomepage->installEventFilter(this);
    lblContact->installEventFilter(this);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
}

QString frmAbout::shortcutFile(const QString& name) const {
    return m_.folder().DataFile(name);
}

QString frmAbout::shortcutAddress(const QString& name) const {
    QFile file(shortcutFile(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return InternetShortcutUrl(file.read(64 * 1024));
}

void frmAbout::Form_Load() {
    setWindowTitle(QStringLiteral("About ") + kAppTitle);
    lblVersion->setText(VersionText(version::major, version::minor, version::revision));

    // The labels show where the shortcut files lead; only the files decide.
    const QString homepage = shortcutAddress(kUpdatesShortcut);
    lblHomepage->setText(homepage.isEmpty() ? QStringLiteral("Tavorin home page") : homepage);
    lblHomepage->setToolTip(lblHomepage->text());
    const QString contact = shortcutAddress(kFeedbackShortcut);
    const QString mail = contact.startsWith(QLatin1String("mailto:"), Qt::CaseInsensitive)
                             ? contact.mid(7).section(QLatin1Char('?'), 0, 0)
                             : contact;
    lblContact->setText(mail.isEmpty() ? QStringLiteral("the Tavorin developers") : mail);
    lblContact->setToolTip(contact.isEmpty() ? lblContact->text() : contact);
}

void frmAbout::lblHomepage_Click() {
    m_.OpenDocument(shortcutFile(kUpdatesShortcut));
}

void frmAbout::lblContact_Click() {
    m_.OpenDocument(shortcutFile(kFeedbackShortcut));
}

void frmAbout::cmdOK_Click() {
    accept();
}

bool frmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == lblHomepage) {
            lblHomepage_Click();
            return true;
        }
        if (watched == lblContact) {
            lblContact_Click();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace tavorin
