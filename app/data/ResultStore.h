#pragma once
// Storing a finished attempt's result so that it reaches the database exactly
// once. On a file the tester's statement simply runs. On a server the result is
// stored by the server's tb_store_result with its key and the login's token in
// one transaction (tb_handins remembers the key, so a second sending of it
// stores nothing; the token, given at login, lets a result go only under the
// login that logged in). Only when that fails for want of the server (it cannot
// be reached, or the connection breaks at any moment, the reply of the commit
// included) is the result written to the local journal, to be sent by
// SendJournal at the next successful connection: a stored result costs no write
// to this computer's disk, and one whose outcome is unknown is sent again and
// stored once. (This computer itself failing while the result is on its way loses
// the attempt, as failing just before the journal line was written did when
// every result went to the journal first.)
#include <functional>
#include <string>

#include "app/data/ResultJournal.h"

class TADOConnection;
class TADOQuery;

enum class TStoreResult { Stored, Kept };

// Where a store can be interrupted; tests break the connection at each.
enum class TStoreMoment { BeforeSend, AfterInsert, AfterCommit };
using TStoreProbe = std::function<void(TStoreMoment)>;

// Runs the tester's insert through `command` (the statement pattern); `token` is
// the server's answer to kResultToken at login (unused on a file). Raises the
// engine's error for anything but a lost connection (nothing is kept: the server
// refused it, sending it again would not help), and the journal's when a result
// to be kept cannot be written.
TStoreResult StoreResult(TADOConnection& connection, TADOQuery& command, TResultJournal& journal,
                         const std::string& login, const std::string& token, int score,
                         const TStoreProbe& probe = {});
// The login that logged in on this machine and the token its login check gave
// (both empty before a login).
struct TLoggedIn {
  std::string Login, Token;
};
// Sends every kept entry, oldest first; an entry the server refuses now is kept
// and the others still go; a lost connection stops the sending. An entry written
// before results carried a token has none: it goes with the token of `loggedIn`
// when that is its own login (the login check just gave it), or, on a connection
// that may make every login's token (the database's owner, which may store any
// result anyway), with the one the server makes; otherwise it stays kept until
// its login logs in on this machine. Returns the number of entries sent (or
// found already stored).
int SendJournal(TADOConnection& connection, TResultJournal& journal, const TLoggedIn& loggedIn = {},
                const TStoreProbe& probe = {});
// Readies the connection's server session for the first hand-in while the
// student still works: a hand-in under `loggedIn` is rehearsed in a transaction
// that is rolled back, so that its tables, indexes and plans are at hand by then
// (a classroom handing in at once shares the server's processor, and a session's
// first store costs it several times what the next ones do). Nothing is stored;
// a failure here is left to the hand-in itself.
void PrepareHandIn(TADOConnection& connection, const TLoggedIn& loggedIn);
// From now on, every time the connection is made again after a loss, the kept
// entries of the journal file are sent before the statement that needed it
// (`loggedIn` says who is logged in then).
void SendJournalWhenReconnected(TADOConnection& connection, std::filesystem::path journalFile,
                                std::function<TLoggedIn()> loggedIn = {});
