#pragma once
// A statement sent to a server whose process the test has stopped (SIGSTOP): the
// program's bounded wait runs, and the test watches what the windows do meanwhile.
#include <signal.h>

#include <string>

#include "data/TADOQuery.h"
#include "data/TDbEngine.h"
#include "platform/base/Exception.h"

// The server process serving the query's connection.
inline pid_t ServerProcessOf(TADOQuery& query) {
  query.SQL().Clear();
  query.SQL().Add("select pg_backend_pid()");
  query.Open();
  return static_cast<pid_t>(query.Fields(0).AsInteger());
}

// Opens "select 1" on the query (its process stopped by the caller), then lets the
// process go on and removes the wait handler; returns the error the open ended in.
inline std::string OpenThenResume(TADOQuery& query, pid_t process) {
  query.Close();
  query.SQL().Clear();
  query.SQL().Add("select 1");
  std::string message;
  try {
    query.Open();
  } catch (const Exception& e) {
    message = e.Message();
  }
  ::kill(process, SIGCONT);
  TDbEngine::SetWaitHandler(nullptr);
  return message;
}
