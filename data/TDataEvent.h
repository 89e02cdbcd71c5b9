#pragma once
// What a dataset tells its data sources and, through them, the data links.
enum class TDataEvent {
  deFieldChange,    // one field of the current row changed
  deRecordChange,   // the current row's values changed as a whole
  deDataSetChange,  // rows were re-read, inserted, deleted or the filter changed
  deDataSetScroll,  // the current row moved
  deUpdateState,    // opened, closed, or entered or left editing
  deUpdateRecord,   // about to post: bound controls write their text into fields
};
