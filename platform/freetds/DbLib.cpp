#include "platform/freetds/DbLib.h"

#include "platform/Exception.h"
#include "platform/Messages.h"

#include <dlfcn.h>
#include <string>

namespace platform {
namespace {

constexpr const char* libraryName = "libsybdb.so.5";

struct Loaded {
    DbLib entries{};
    std::string failure;
};

template <typename Function>
void Bind(void* library, const char* name, Function& entry, std::string& failure) {
    entry = reinterpret_cast<Function>(dlsym(library, name));
    if (entry == nullptr && failure.empty())
        failure = messages::LibraryLacksFunction(name);
}

Loaded Load() {
    Loaded loaded;
    // Kept loaded until the process ends: db-lib holds process-wide state.
    void* library = dlopen(libraryName, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        loaded.failure = dlerror();
        return loaded;
    }
    DbLib& db = loaded.entries;
    std::string& failure = loaded.failure;
    Bind(library, "dbinit", db.dbinit, failure);
    Bind(library, "dberrhandle", db.dberrhandle, failure);
    Bind(library, "dbmsghandle", db.dbmsghandle, failure);
    Bind(library, "dblogin", db.dblogin, failure);
    Bind(library, "dbloginfree", db.dbloginfree, failure);
    Bind(library, "dbsetlname", db.dbsetlname, failure);
    Bind(library, "dbsetlversion", db.dbsetlversion, failure);
    Bind(library, "dbsetlogintime", db.dbsetlogintime, failure);
    Bind(library, "dbsettime", db.dbsettime, failure);
    Bind(library, "tdsdbopen", db.tdsdbopen, failure);
    Bind(library, "dbclose", db.dbclose, failure);
    Bind(library, "dbcmd", db.dbcmd, failure);
    Bind(library, "dbsqlexec", db.dbsqlexec, failure);
    Bind(library, "dbresults", db.dbresults, failure);
    Bind(library, "dbnextrow", db.dbnextrow, failure);
    Bind(library, "dbdead", db.dbdead, failure);
    return loaded;
}

} // namespace

const DbLib& LoadDbLib() {
    static const Loaded loaded = Load();
    if (!loaded.failure.empty())
        throw Exception(messages::CannotLoadDatabaseLibrary(libraryName, loaded.failure));
    return loaded.entries;
}

} // namespace platform
