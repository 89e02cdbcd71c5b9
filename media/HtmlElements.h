#pragma once
// Elements that give the presentational attributes of old documents their
// meaning (align, bgcolor, cellpadding, <font size> ...) where litehtml does not.
#include <litehtml/litehtml.h>

#include <cstddef>
#include <memory>

#include "platform/base/Exception.h"

// Spans as browsers clamp them.
constexpr int kHtmlMaxColSpan = 1000;
constexpr int kHtmlMaxRowSpan = 65534;
// litehtml keeps a cell for every row and column of a table's grid (every row as
// wide as the widest) and looks up the rows above for each cell it places.
constexpr std::size_t kHtmlMaxTableCells = 200000;
constexpr std::size_t kHtmlMaxTableRows = 10000;

// A page whose tables would take more cells than the view allows (Russian text).
class EHtmlTooLarge : public EOutOfResources { using EOutOfResources::EOutOfResources; };

// Our element for the tag (the root checks the tables before litehtml builds their
// grids and raises EHtmlTooLarge), or null to let litehtml make its own.
std::shared_ptr<litehtml::element> CreateLegacyElement(const litehtml::tchar_t* tag,
                                                       const litehtml::string_map& attributes,
                                                       const std::shared_ptr<litehtml::document>& doc);
