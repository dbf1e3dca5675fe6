#pragma once

#include <QString>
#include <QStringList>

namespace tavorin {

// Runs a program with an argument list (never through a shell) and waits
// for it.
class IProcessRunner {
  public:
    virtual ~IProcessRunner() = default;

    // True when the program ran and exited with code 0.
    virtual bool Run(const QString& program, const QStringList& arguments, QString* error) = 0;
};

class QtProcessRunner final : public IProcessRunner {
  public:
    explicit QtProcessRunner(int timeoutMs = 30000) : timeoutMs_(timeoutMs) {}

    bool Run(const QString& program, const QStringList& arguments, QString* error) override;

  private:
    int timeoutMs_;
};

} // namespace tavorin
