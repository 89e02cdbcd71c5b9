#pragma once
// The view's own master stylesheet: what a browser does to a page before the
// page's styles, so that plain and old documents look as their authors saw them.
const char* HtmlMasterCss();
