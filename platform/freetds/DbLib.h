#pragma once

#include <sybdb.h>
#include <sybfront.h>

namespace platform {

// The db-lib entry points the database command uses, loaded from FreeTDS's library when
// the first command runs rather than when the launcher starts: that library and the TLS
// and Kerberos libraries it brings cost a tenth of the launcher's start-up, and most runs
// of the launcher never reach a database.
struct DbLib {
    decltype(&::dbinit) dbinit;
    decltype(&::dberrhandle) dberrhandle;
    decltype(&::dbmsghandle) dbmsghandle;
    decltype(&::dblogin) dblogin;
    decltype(&::dbloginfree) dbloginfree;
    decltype(&::dbsetlname) dbsetlname;
    decltype(&::dbsetlversion) dbsetlversion;
    decltype(&::dbsetlogintime) dbsetlogintime;
    decltype(&::dbsettime) dbsettime;
    decltype(&::tdsdbopen) tdsdbopen; // dbopen is a macro over it
    decltype(&::dbclose) dbclose;
    decltype(&::dbcmd) dbcmd;
    decltype(&::dbsqlexec) dbsqlexec;
    decltype(&::dbresults) dbresults;
    decltype(&::dbnextrow) dbnextrow;
    decltype(&::dbdead) dbdead;
};

// Loads the library once per process; raises an Exception naming it and the reason.
const DbLib& LoadDbLib();

} // namespace platform
