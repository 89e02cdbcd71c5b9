#include "media/HtmlMasterCss.h"

// Default font: Times New Roman 16 px, as classic browsers; colours black on white.
const char* HtmlMasterCss() {
  return R"CSS(
html { display: block; position: relative; }
head, style, script, title, meta, link, base, noscript, template, xml, param { display: none; }
body { display: block; margin: 8px; height: auto; color: black; }

p { display: block; margin-top: 1em; margin-bottom: 1em; }
div, address, article, aside, footer, header, main, nav, section, figure, figcaption, form, fieldset,
legend, details, summary, hgroup, dialog { display: block; }
blockquote { display: block; margin: 1em 40px; }
figure { margin: 1em 40px; }
fieldset { margin: 0 2px; padding: 0.35em 0.75em 0.625em; border: 2px groove #c0c0c0; }
center { display: block; text-align: center; }
hr { display: block; height: 0; margin: 0.5em auto; border-style: inset; border-width: 1px; border-color: #a0a0a0; }

h1 { display: block; font-size: 2em; margin: 0.67em 0; font-weight: bold; }
h2 { display: block; font-size: 1.5em; margin: 0.83em 0; font-weight: bold; }
h3 { display: block; font-size: 1.17em; margin: 1em 0; font-weight: bold; }
h4 { display: block; margin: 1.33em 0; font-weight: bold; }
h5 { display: block; font-size: 0.83em; margin: 1.67em 0; font-weight: bold; }
h6 { display: block; font-size: 0.67em; margin: 2.33em 0; font-weight: bold; }

ul, menu, dir { display: block; list-style-type: disc; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
ol { display: block; list-style-type: decimal; margin-top: 1em; margin-bottom: 1em; padding-left: 40px; }
li { display: list-item; }
ul ul, ol ul, ul ol, ol ol, ul menu, ul dir { margin-top: 0; margin-bottom: 0; }
ul ul, ol ul { list-style-type: circle; }
ul ul ul, ol ul ul, ul ol ul, ol ol ul { list-style-type: square; }
ol[type="a"] { list-style-type: lower-alpha; }
ol[type="A"] { list-style-type: upper-alpha; }
ol[type="i"] { list-style-type: lower-roman; }
ol[type="I"] { list-style-type: upper-roman; }
ul[type="circle"] { list-style-type: circle; }
ul[type="square"] { list-style-type: square; }
dl { display: block; margin: 1em 0; }
dt { display: block; }
dd { display: block; margin-left: 40px; }

table { display: table; border-collapse: separate; border-spacing: 2px; border-color: #a0a0a0; text-indent: 0; }
table[border] { border-style: outset; }
table[border="0"] { border-style: none; }
table[border] td, table[border] th { border-style: inset; border-width: 1px; border-color: #a0a0a0; }
table[border="0"] td, table[border="0"] th { border-style: none; }
thead { display: table-header-group; vertical-align: middle; }
tbody { display: table-row-group; vertical-align: middle; }
tfoot { display: table-footer-group; vertical-align: middle; }
tr { display: table-row; vertical-align: inherit; }
td, th { display: table-cell; vertical-align: inherit; padding: 1px; }
th { font-weight: bold; text-align: center; }
caption { display: table-caption; text-align: center; }
col { display: table-column; }
colgroup { display: table-column-group; }

pre, xmp, listing, plaintext { display: block; white-space: pre; margin: 1em 0; font-family: "Courier New", monospace; }
tt, code, kbd, samp { font-family: "Courier New", monospace; }
b, strong { font-weight: bold; }
i, em, cite, var, dfn, address { font-style: italic; }
u, ins { text-decoration: underline; }
s, strike, del { text-decoration: line-through; }
big { font-size: larger; }
small { font-size: smaller; }
sub { vertical-align: baseline; position: relative; top: 0.25em; font-size: smaller; }
sup { vertical-align: baseline; position: relative; top: -0.4em; font-size: smaller; }
nobr { white-space: nowrap; }
mark { background-color: yellow; color: black; }
abbr[title], acronym[title] { text-decoration: underline; }

a[href] { color: #0000ee; text-decoration: underline; cursor: pointer; }

img { display: inline-block; }
br { display: block; }
input, select, textarea, button { display: inline-block; }
)CSS";
}
