// libpq, loaded the first time the program connects to a database server.
// Linked, it and the two dozen libraries it needs (Kerberos, LDAP, TLS) would be
// loaded at every start, though most workspaces keep their database in a file.
// The functions below stand in for libpq's own under its names (its header
// checks every signature) and call into the library once it is loaded; the
// engine (TPgEngine, TPgStatement) calls them as it would call libpq.
#include <libpq-fe.h>

#include <string>

#include "data/TDbEngine.h"
#include "platform/base/SharedLibrary.h"

// X(function): every libpq function the engine calls.
#define TB_PQ_FUNCTIONS(X) \
  X(PQconnectStartParams) \
  X(PQconnectPoll) \
  X(PQstatus) \
  X(PQerrorMessage) \
  X(PQfinish) \
  X(PQsocket) \
  X(PQtransactionStatus) \
  X(PQgetCancel) \
  X(PQfreeCancel) \
  X(PQcancel) \
  X(PQsendQuery) \
  X(PQsendQueryParams) \
  X(PQsendPrepare) \
  X(PQsendDescribePrepared) \
  X(PQconsumeInput) \
  X(PQisBusy) \
  X(PQgetResult) \
  X(PQresultStatus) \
  X(PQresultErrorField) \
  X(PQclear) \
  X(PQntuples) \
  X(PQnfields) \
  X(PQfname) \
  X(PQftype) \
  X(PQftable) \
  X(PQftablecol) \
  X(PQgetvalue) \
  X(PQgetlength) \
  X(PQgetisnull) \
  X(PQcmdTuples)

namespace {

constexpr const char* kLibrary = "libpq.so.5";

struct TPq {
#define TB_PQ_MEMBER(function) decltype(&::function) function = nullptr;
  TB_PQ_FUNCTIONS(TB_PQ_MEMBER)
#undef TB_PQ_MEMBER
  std::string Error;  // why the library is not there; empty once loaded
};

TPq Load() {
  TPq pq;
  TSharedLibrary library(kLibrary);
#define TB_PQ_FIND(function) library.Find(pq.function, #function);
  TB_PQ_FUNCTIONS(TB_PQ_FIND)
#undef TB_PQ_FIND
  pq.Error = library.Error();
  return pq;
}

const TPq& Pq() {
  static const TPq pq = Load();
  return pq;
}

// What the text functions give while no library is loaded: libpq's empty text.
char* NoText() {
  static char empty[1] = "";
  return empty;
}

}  // namespace

extern "C" {

// The connection is where the library is first needed: without it, the server
// cannot be reached, and the message says why.
PGconn* PQconnectStartParams(const char* const* keywords, const char* const* values, int expandDbname) {
  const TPq& pq = Pq();
  if (!pq.Error.empty()) throw EDatabaseConnectionError("Не удалось подключиться к серверу базы данных: " + pq.Error + ".");
  return pq.PQconnectStartParams(keywords, values, expandDbname);
}

// Without a connection none of these can be reached with anything real; they
// answer as libpq answers for a missing connection or result.
#define TB_PQ_FORWARD(function, none, ...)                                                                         \
  {                                                                                                                \
    const TPq& pq = Pq();                                                                                          \
    if (!pq.function) return none;                                                                                 \
    return pq.function(__VA_ARGS__);                                                                               \
  }

PostgresPollingStatusType PQconnectPoll(PGconn* conn) TB_PQ_FORWARD(PQconnectPoll, PGRES_POLLING_FAILED, conn)
ConnStatusType PQstatus(const PGconn* conn) TB_PQ_FORWARD(PQstatus, CONNECTION_BAD, conn)
char* PQerrorMessage(const PGconn* conn) TB_PQ_FORWARD(PQerrorMessage, NoText(), conn)
void PQfinish(PGconn* conn) TB_PQ_FORWARD(PQfinish, , conn)
int PQsocket(const PGconn* conn) TB_PQ_FORWARD(PQsocket, -1, conn)
PGTransactionStatusType PQtransactionStatus(const PGconn* conn) TB_PQ_FORWARD(PQtransactionStatus, PQTRANS_UNKNOWN, conn)
PGcancel* PQgetCancel(PGconn* conn) TB_PQ_FORWARD(PQgetCancel, nullptr, conn)
void PQfreeCancel(PGcancel* cancel) TB_PQ_FORWARD(PQfreeCancel, , cancel)
int PQcancel(PGcancel* cancel, char* errbuf, int errbufsize) TB_PQ_FORWARD(PQcancel, 0, cancel, errbuf, errbufsize)
int PQsendQuery(PGconn* conn, const char* query) TB_PQ_FORWARD(PQsendQuery, 0, conn, query)
int PQsendQueryParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                      const char* const* paramValues, const int* paramLengths, const int* paramFormats, int resultFormat)
    TB_PQ_FORWARD(PQsendQueryParams, 0, conn, command, nParams, paramTypes, paramValues, paramLengths, paramFormats,
                  resultFormat)
int PQsendPrepare(PGconn* conn, const char* stmtName, const char* query, int nParams, const Oid* paramTypes)
    TB_PQ_FORWARD(PQsendPrepare, 0, conn, stmtName, query, nParams, paramTypes)
int PQsendDescribePrepared(PGconn* conn, const char* stmt) TB_PQ_FORWARD(PQsendDescribePrepared, 0, conn, stmt)
int PQconsumeInput(PGconn* conn) TB_PQ_FORWARD(PQconsumeInput, 0, conn)
int PQisBusy(PGconn* conn) TB_PQ_FORWARD(PQisBusy, 0, conn)
PGresult* PQgetResult(PGconn* conn) TB_PQ_FORWARD(PQgetResult, nullptr, conn)
ExecStatusType PQresultStatus(const PGresult* res) TB_PQ_FORWARD(PQresultStatus, PGRES_FATAL_ERROR, res)
char* PQresultErrorField(const PGresult* res, int fieldcode) TB_PQ_FORWARD(PQresultErrorField, NoText(), res, fieldcode)
void PQclear(PGresult* res) TB_PQ_FORWARD(PQclear, , res)
int PQntuples(const PGresult* res) TB_PQ_FORWARD(PQntuples, 0, res)
int PQnfields(const PGresult* res) TB_PQ_FORWARD(PQnfields, 0, res)
char* PQfname(const PGresult* res, int field_num) TB_PQ_FORWARD(PQfname, NoText(), res, field_num)
Oid PQftype(const PGresult* res, int field_num) TB_PQ_FORWARD(PQftype, 0, res, field_num)
Oid PQftable(const PGresult* res, int field_num) TB_PQ_FORWARD(PQftable, 0, res, field_num)
int PQftablecol(const PGresult* res, int field_num) TB_PQ_FORWARD(PQftablecol, 0, res, field_num)
char* PQgetvalue(const PGresult* res, int tup_num, int field_num) TB_PQ_FORWARD(PQgetvalue, NoText(), res, tup_num, field_num)
int PQgetlength(const PGresult* res, int tup_num, int field_num) TB_PQ_FORWARD(PQgetlength, 0, res, tup_num, field_num)
int PQgetisnull(const PGresult* res, int tup_num, int field_num) TB_PQ_FORWARD(PQgetisnull, 1, res, tup_num, field_num)
char* PQcmdTuples(PGresult* res) TB_PQ_FORWARD(PQcmdTuples, NoText(), res)

#undef TB_PQ_FORWARD
}
