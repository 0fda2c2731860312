#pragma once
// A service one of the program's modules makes (printing, iCalendar), loaded
// at its first use and kept to the end: the module's entry point, named
// `entryName`, takes the program's host (ModuleHost) and returns the service.
#include "apperror.h"
#include "modulepath.h"

#include <QLibrary>
#include <QString>

#include <memory>

namespace vn {

// Loads the module at modulePath and asks it for its service; on failure
// null, with `failure` and the loader's reason in *error.
template <typename Service>
std::unique_ptr<Service> LoadModuleService(const QString& modulePath, const char* entryName,
                                           const QString& failure, QString* error)
{
    // The module stays loaded to the end: the service's code must outlive it.
    QLibrary module(modulePath);
    using Entry = Service* (*)(const ModuleHost&);
    auto entry = reinterpret_cast<Entry>(module.resolve(entryName));
    if (!entry) {
        if (error)
            *error = QStringLiteral("%1 [%2]").arg(failure, module.errorString());
        return nullptr;
    }
    return std::unique_ptr<Service>(entry(ThisProgramHost()));
}

// The program's one instance of a module's service.
template <typename Service> class ModuleServiceSlot {
public:
    ModuleServiceSlot(QString moduleName, const char* entryName, QString failure)
        : moduleName_(std::move(moduleName)), entryName_(entryName), failure_(std::move(failure))
    {
    }
    // Loaded at the first call; throws AppError (failure and reason) when
    // the module cannot be loaded, and tries again at the next call.
    Service& get()
    {
        if (!service_) {
            QString why;
            service_ = LoadModuleService<Service>(path_.isEmpty() ? ModulePath(moduleName_) : path_,
                                                  entryName_, failure_, &why);
            if (!service_)
                throw AppError(why);
        }
        return *service_;
    }
    // Another module file (tests); empty: the program's own. Forgets the
    // service loaded so far.
    void setPath(const QString& path)
    {
        path_ = path;
        service_.reset();
    }

private:
    QString moduleName_;
    const char* entryName_;
    QString failure_;
    QString path_;
    std::unique_ptr<Service> service_;
};

} // namespace vn
