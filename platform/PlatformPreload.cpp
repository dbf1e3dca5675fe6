#include "platform/PlatformPreload.h"

#include <QDBusConnection>
#include <QFontDatabase>
#include <QStringList>

#include <fontconfig/fontconfig.h>

namespace tavorin {

PlatformPreload::PlatformPreload() : thread_([this] { run(); }) {}

PlatformPreload::~PlatformPreload() {
    tell(Next::Stop);
    finish();
}

void PlatformPreload::run() {
    FcInit();
    std::unique_lock lock(mutex_);
    told_.wait(lock, [this] { return next_ != Next::Wait; });
    const bool qtPart = next_ == Next::QtPart;
    lock.unlock();
    if (!qtPart)
        return;
    QDBusConnection::sessionBus();
    QFontDatabase::families();
}

void PlatformPreload::tell(Next next) {
    {
        const std::lock_guard lock(mutex_);
        if (next_ != Next::Wait)
            return;
        next_ = next;
    }
    told_.notify_one();
}

void PlatformPreload::finish() {
    if (thread_.joinable())
        thread_.join();
}

PlatformPreload::QtPart::QtPart(PlatformPreload& preload) : preload_(preload) {
    preload_.tell(Next::QtPart);
}

PlatformPreload::QtPart::~QtPart() {
    preload_.finish();
}

} // namespace tavorin
