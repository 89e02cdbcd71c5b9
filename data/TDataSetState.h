#pragma once
enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert };
