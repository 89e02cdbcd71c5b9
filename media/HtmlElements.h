#pragma once
// Elements that give the presentational attributes of old documents their
// meaning (align, bgcolor, cellpadding, <font size> ...) where litehtml does not.
#include <litehtml/litehtml.h>

#include <memory>

// Our element for the tag, or null to let litehtml make its own.
std::shared_ptr<litehtml::element> CreateLegacyElement(const litehtml::tchar_t* tag,
                                                       const litehtml::string_map& attributes,
                                                       const std::shared_ptr<litehtml::document>& doc);
