// Opens documents with the desktop's default program through GIO.
#include "platform/GioShell.h"

#include "platform/OpenWithDialog.h"

#include <QFile>
#include <QFileInfo>

#include <gio/gio.h>

namespace tavorin {

namespace {

struct GObjectDeleter {
    void operator()(gpointer p) const {
        if (p)
            g_object_unref(p);
    }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectDeleter>;

struct GFreeDeleter {
    void operator()(gpointer p) const { g_free(p); }
};
using GString_ = std::unique_ptr<char, GFreeDeleter>;

QString contentTypeOf(const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    GPtr<GFile> file(g_file_new_for_path(native.constData()));
    GPtr<GFileInfo> info(g_file_query_info(file.get(), G_FILE_ATTRIBUTE_STANDARD_CONTENT_TYPE,
                                           G_FILE_QUERY_INFO_NONE, nullptr, nullptr));
    if (info) {
        const char* type = g_file_info_get_content_type(info.get());
        if (type)
            return QString::fromUtf8(type);
    }
    gboolean uncertain = FALSE;
    GString_ guessed(g_content_type_guess(native.constData(), nullptr, 0, &uncertain));
    return QString::fromUtf8(guessed.get());
}

bool launch(GAppInfo* app, const QString& path) {
    const QByteArray native = QFile::encodeName(path);
    GPtr<GFile> file(g_file_new_for_path(native.constData()));
    GList files{file.get(), nullptr, nullptr};
    return g_app_info_launch(app, &files, nullptr, nullptr);
}

int openUrl(const QString& url) {
    const QByteArray utf8 = url.toUtf8();
    GString_ scheme(g_uri_parse_scheme(utf8.constData()));
    if (!scheme)
        return IShell::kFileNotFound;
    GPtr<GAppInfo> app(g_app_info_get_default_for_uri_scheme(scheme.get()));
    if (!app)
        return IShell::kNoAssociation;
    GList uris{const_cast<char*>(utf8.constData()), nullptr, nullptr};
    return g_app_info_launch_uris(app.get(), &uris, nullptr, nullptr) ? IShell::kOpened : 5;
}

} // namespace

namespace {

// The URL of an internet shortcut file, or empty when the path is not one.
QString shortcutUrlOf(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || info.suffix().compare(QLatin1String("url"), Qt::CaseInsensitive) != 0)
        return {};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return InternetShortcutUrl(file.read(64 * 1024));
}

// The content type that decides the program: the URL's scheme for an
// internet shortcut, the file's own type otherwise.
QString openedTypeOf(const QString& path, const QString& url) {
    if (!url.isEmpty()) {
        const QByteArray utf8 = url.toUtf8();
        GString_ scheme(g_uri_parse_scheme(utf8.constData()));
        if (scheme)
            return QStringLiteral("x-scheme-handler/") + QString::fromUtf8(scheme.get());
    }
    return contentTypeOf(path);
}

bool launchDocument(GAppInfo* app, const QString& path, const QString& url) {
    if (url.isEmpty())
        return launch(app, path);
    const QByteArray utf8 = url.toUtf8();
    GList uris{const_cast<char*>(utf8.constData()), nullptr, nullptr};
    return g_app_info_launch_uris(app, &uris, nullptr, nullptr);
}

} // namespace

int GioShell::ShellExecuteOpen(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile())
        return kFileNotFound;
    const QString url = shortcutUrlOf(path);
    if (!url.isEmpty())
        return openUrl(url);
    const QByteArray type = contentTypeOf(path).toUtf8();
    GPtr<GAppInfo> app(g_app_info_get_default_for_type(type.constData(), FALSE));
    if (!app)
        return kNoAssociation;
    return launch(app.get(), path) ? kOpened : 5;
}

QList<OpenWithDialog::Program> OpenWithPrograms(const QString& path) {
    const QByteArray type = openedTypeOf(path, shortcutUrlOf(path)).toUtf8();
    QList<OpenWithDialog::Program> programs;
    GList* all = g_app_info_get_all_for_type(type.constData());
    if (!all) // nothing knows the type: offer every program
        all = g_app_info_get_all();
    for (GList* it = all; it; it = it->next) {
        auto* app = static_cast<GAppInfo*>(it->data);
        const char* id = g_app_info_get_id(app);
        if (!id || !g_app_info_should_show(app))
            continue;
        programs.push_back(
            {QString::fromUtf8(g_app_info_get_display_name(app)), QString::fromUtf8(id)});
    }
    g_list_free_full(all, g_object_unref);
    return programs;
}

bool OpenWithProgram(const QString& path, const QString& programId) {
    const QByteArray id = programId.toUtf8();
    bool launched = false;
    GList* list = g_app_info_get_all();
    for (GList* it = list; it; it = it->next) {
        auto* app = static_cast<GAppInfo*>(it->data);
        const char* appId = g_app_info_get_id(app);
        if (appId && id == appId) {
            launched = launchDocument(app, path, shortcutUrlOf(path));
            break;
        }
    }
    g_list_free_full(list, g_object_unref);
    return launched;
}

void GioShell::OpenWith(const QString& path) {
    if (!QFileInfo(path).isFile())
        return;
    OpenWithDialog dialog(path, OpenWithPrograms(path));
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenId().isEmpty())
        return;
    OpenWithProgram(path, dialog.ChosenId());
}

} // namespace tavorin
