#include "app/data/ResultStore.h"

#include <optional>

#include "app/data/Statements.h"
#include "data/TADOConnection.h"
#include "data/SqlMarkers.h"
#include "data/TADOQuery.h"
#include "data/TDbEngine.h"

namespace {
void Probe(const TStoreProbe& probe, TStoreMoment moment) {
  if (probe) probe(moment);
}

void RunStore(TADOQuery& command, const std::string& login, int score) {
  LoadStatement(command, Statements::kStoreResult);
  command.ParamByName("a1").SetValue(Variant(login));
  command.ParamByName("a2").SetValue(Variant(static_cast<std::int64_t>(score)));
  command.ExecSQL();
}

// The server's store of one entry, inside the caller's transaction: true when
// stored, false when its key was there already.
bool CallStore(TADOConnection& connection, const TJournalEntry& entry) {
  // Straight on the engine: one round trip, where a dataset would first ask the
  // server to describe the statement's columns (forty machines handing in at
  // once feel every trip).
  static const SqlMarkers store = ParseSqlMarkers(std::string(Statements::kStoreHandIn.Lines[0]));
  const auto statement = connection.Engine().Prepare(store.EngineText);
  for (std::size_t i = 0; i < store.Names.size(); ++i) {
    const std::string& name = store.Names[i];
    statement->Bind(static_cast<int>(i + 1), name == "t"    ? Variant(entry.Token)
                                             : name == "a1" ? Variant(entry.Login)
                                             : name == "a2" ? Variant(static_cast<std::int64_t>(entry.Score))
                                                            : Variant(entry.Key));
  }
  return statement->Step() && statement->ColumnValue(0).AsInteger() == 1;
}

// One transaction around the server's own store: the key and the result go in
// together, and a key already there (an earlier sending stored, only its reply
// lost) stores nothing. False for that second sending.
bool Send(TADOConnection& connection, const TJournalEntry& entry, const TStoreProbe& probe) {
  Probe(probe, TStoreMoment::BeforeSend);
  connection.ExecuteDirect("begin");
  bool stored = false;
  try {
    stored = CallStore(connection, entry);
    Probe(probe, TStoreMoment::AfterInsert);
    connection.ExecuteDirect("commit");
  } catch (const EDatabaseConnectionError&) {
    throw;  // the transaction went with the connection
  } catch (...) {
    if (connection.Engine().InTransaction()) connection.ExecuteDirect("rollback");
    throw;
  }
  Probe(probe, TStoreMoment::AfterCommit);
  return stored;
}

// The token of a login the server makes for this connection, when its role may
// (the database's owner); empty otherwise. `may` remembers the answer.
std::string TokenMadeByServer(TADOConnection& connection, const std::string& login, std::optional<bool>& may) {
  if (!may) {
    TADOQuery query(&connection);
    query.SQL().Add("select case when to_regprocedure('tb_token_of(text)') is null then 0 "
                    "when has_function_privilege(to_regprocedure('tb_token_of(text)'), 'execute') then 1 else 0 end");
    query.Open();
    may = query.Fields(0).AsInteger() == 1;
  }
  if (!*may) return {};
  TADOQuery query(&connection);
  query.SQL().Add("select tb_token_of(:a)");
  query.ParamByName("a").SetValue(Variant(login));
  query.Open();
  return query.Fields(0).AsString();
}
}  // namespace

TStoreResult StoreResult(TADOConnection& connection, TADOQuery& command, TResultJournal& journal,
                         const std::string& login, const std::string& token, int score,
                         const TStoreProbe& probe) {
  if (connection.Engine().Kind() != TDbEngineKind::Postgres) {
    RunStore(command, login, score);
    return TStoreResult::Stored;
  }
  const TJournalEntry entry = TResultJournal::NewEntry(login, score, token);
  try {
    SendJournal(connection, journal, {login, token}, probe);  // the kept ones first, in their order
    Send(connection, entry, probe);
  } catch (const EDatabaseConnectionError&) {
    // Not sent, or sent with its outcome unknown: kept either way, since its key
    // makes a second sending store nothing.
    journal.Add(entry);
    return TStoreResult::Kept;
  }
  // A refusal of the server is the user's error as before: sending it again
  // would not help.
  return TStoreResult::Stored;
}


int SendJournal(TADOConnection& connection, TResultJournal& journal, const TLoggedIn& loggedIn,
                const TStoreProbe& probe) {
  if (connection.Engine().Kind() != TDbEngineKind::Postgres) return 0;
  const auto entries = journal.Entries();
  if (entries.empty()) return 0;
  int sent = 0;
  std::optional<bool> serverMakesTokens;
  for (TJournalEntry entry : entries) {
    try {
      if (entry.Token.empty()) {
        entry.Token = !loggedIn.Token.empty() && entry.Login == loggedIn.Login
                          ? loggedIn.Token
                          : TokenMadeByServer(connection, entry.Login, serverMakesTokens);
        if (entry.Token.empty()) continue;  // kept until its login logs in here
      }
      Send(connection, entry, probe);
    } catch (const EDatabaseConnectionError&) {
      throw;
    } catch (const EDatabaseError&) {
      continue;  // refused now (rights, a changed table): kept for a later start
    }
    journal.Remove(entry.Key);
    ++sent;
  }
  return sent;
}

void PrepareHandIn(TADOConnection& connection, const TLoggedIn& loggedIn) {
  if (connection.Engine().Kind() != TDbEngineKind::Postgres || loggedIn.Token.empty()) return;
  try {
    connection.ExecuteDirect("begin");
    try {
      CallStore(connection, TResultJournal::NewEntry(loggedIn.Login, 0, loggedIn.Token));
    } catch (const EDatabaseConnectionError&) {
      throw;
    } catch (const EDatabaseError&) {  // refused: the hand-in will say so itself
    }
    if (connection.Engine().InTransaction()) connection.ExecuteDirect("rollback");
  } catch (const EDatabaseError&) {  // nothing was stored; the hand-in finds its own way
  }
}

void SendJournalWhenReconnected(TADOConnection& connection, std::filesystem::path journalFile,
                                std::function<TLoggedIn()> loggedIn) {
  connection.SetOnReconnect([&connection, file = std::move(journalFile), loggedIn = std::move(loggedIn)] {
    TResultJournal journal(file);
    try {
      SendJournal(connection, journal, loggedIn ? loggedIn() : TLoggedIn{});
    } catch (const std::exception&) {  // kept for the next connection
    }
  });
}
