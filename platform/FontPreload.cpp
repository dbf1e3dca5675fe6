// Reads the font set-up on a worker thread while the start goes on.
#include "platform/FontPreload.h"

#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace tavorin {

FontPreload::FontPreload() : thread_([this] { run(); }) {}

FontPreload::~FontPreload() {
    tell(Next::Stop);
    finish();
}

void FontPreload::run() {
    FcInit();
    std::unique_lock lock(mutex_);
    told_.wait(lock, [this] { return next_ != Next::Wait; });
    const bool qtPart = next_ == Next::QtPart;
    lock.unlock();
    if (!qtPart)
        return;
    QFontDatabase::families();
}

void FontPreload::tell(Next next) {
    {
        const std::lock_guard lock(mutex_);
        if (next_ != Next::Wait)
            return;
        next_ = next;
    }
    told_.notify_one();
}

void FontPreload::finish() {
    if (thread_.joinable())
        thread_.join();
}

FontPreload::QtPart::QtPart(FontPreload& preload) : preload_(preload) {
    preload_.tell(Next::QtPart);
}

FontPreload::QtPart::~QtPart() {
    preload_.finish();
}

} // namespace tavorin
