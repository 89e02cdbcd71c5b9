#pragma once
// The data layer's classes, declared for headers that only name them.
class TDataSet;
class TDataSource;
class TDataLink;
class TField;
class TADOConnection;
class TADOQuery;
class TADOTable;
class TDbEngine;
class TDbStatement;
