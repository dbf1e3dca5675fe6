#pragma once

#include <QDate>
#include <QDateTime>

namespace tavorin {

class IClock {
  public:
    virtual ~IClock() = default;
    virtual QDate Today() const = 0;
    virtual QDateTime Now() const = 0;
};

class SystemClock final : public IClock {
  public:
    QDate Today() const override { return QDate::currentDate(); }
    QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

} // namespace tavorin
