#pragma once
// Storing a finished attempt's result so that it reaches the database exactly
// once. On a file the tester's statement simply runs. On a server the result is
// first written to the local journal, then stored by the server's
// tb_store_result with its key and the login's token in one transaction
// (tb_handins remembers the key, so a second sending of it stores nothing; the
// token, given at login, lets a result go only under the login that logged in),
// then forgotten by the journal. When the server cannot be reached or the
// connection breaks at any moment, the entry stays in the journal and is sent by
// SendJournal at the next successful connection.
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
// engine's error for anything but a lost connection (the journal then forgets
// the entry: the server refused it, sending it again would not help).
TStoreResult StoreResult(TADOConnection& connection, TADOQuery& command, TResultJournal& journal,
                         const std::string& login, const std::string& token, int score,
                         const TStoreProbe& probe = {});
// Sends every kept entry, oldest first; stops at the first one the server cannot
// take now. Returns the number of entries sent (or found already stored).
int SendJournal(TADOConnection& connection, TResultJournal& journal, const TStoreProbe& probe = {});
// From now on, every time the connection is made again after a loss, the kept
// entries of the journal file are sent before the statement that needed it.
void SendJournalWhenReconnected(TADOConnection& connection, std::filesystem::path journalFile);
