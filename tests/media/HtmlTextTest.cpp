// Character sets, address resolution and the preparation of page text.
#include <gtest/gtest.h>

#include <filesystem>

#include "media/HtmlAddress.h"
#include "media/HtmlCharset.h"
#include "media/HtmlPrepare.h"
#include "platform/base/Cp1251.h"

namespace {
const std::string kRussian = "Лекция: кодирование текста";
std::string Page(const std::string& meta, const std::string& body) {
  return "<html><head>" + meta + "</head><body><p>" + body + "</p></body></html>";
}
}  // namespace

TEST(HtmlCharsetTest, DeclarationsAreFoundInEveryForm) {
  EXPECT_EQ(DeclaredHtmlCharset("\xEF\xBB\xBF<p>x"), "utf-8");
  EXPECT_EQ(DeclaredHtmlCharset("\xFF\xFE<\0p\0"), "utf-16le");
  EXPECT_EQ(DeclaredHtmlCharset("<META CHARSET=\"Windows-1251\">"), "windows-1251");
  EXPECT_EQ(DeclaredHtmlCharset("<meta http-equiv=Content-Type content=\"text/html; charset=windows-1251\">"),
            "windows-1251");
  EXPECT_EQ(DeclaredHtmlCharset("<meta content='text/html;charset=utf-8' http-equiv='Content-Type'>"), "utf-8");
  EXPECT_EQ(DeclaredHtmlCharset("<meta name=author content=x><p>charset=koi8-r</p>"), "");
}

TEST(HtmlCharsetTest, DeclaredCharsetsDecode) {
  const std::string cp = Utf8ToCp1251(kRussian);
  THtmlDecoded a = DecodeHtmlBytes(Page("<meta charset=windows-1251>", cp));
  EXPECT_EQ(a.Charset, THtmlCharset::Windows1251);
  EXPECT_NE(a.Text.find(kRussian), std::string::npos);

  THtmlDecoded b = DecodeHtmlBytes("\xEF\xBB\xBF" + Page("", kRussian));
  EXPECT_EQ(b.Charset, THtmlCharset::Utf8);
  EXPECT_EQ(b.Text.rfind("<html>", 0), 0u) << "the BOM is dropped";

  // UTF-16 with its BOM, including a character outside the basic plane.
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : std::u16string(u"<p>Ёж \xD83D\xDE00</p>")) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>(c >> 8);
  }
  THtmlDecoded c = DecodeHtmlBytes(utf16);
  EXPECT_EQ(c.Charset, THtmlCharset::Utf16Le);
  EXPECT_EQ(c.Text, "<p>Ёж \xF0\x9F\x98\x80</p>");
}

TEST(HtmlCharsetTest, BytesThatContradictTheMetaWin) {
  // Saved in Windows-1251, meta says UTF-8 (and the other way round).
  THtmlDecoded a = DecodeHtmlBytes(Page("<meta charset=utf-8>", Utf8ToCp1251(kRussian)));
  EXPECT_EQ(a.Charset, THtmlCharset::Windows1251);
  EXPECT_NE(a.Text.find(kRussian), std::string::npos);
  THtmlDecoded b = DecodeHtmlBytes(Page("<meta http-equiv=Content-Type content='text/html; charset=windows-1251'>", kRussian));
  EXPECT_EQ(b.Charset, THtmlCharset::Utf8);
  EXPECT_NE(b.Text.find(kRussian), std::string::npos);
  // Russian text declared Latin-1; real Latin-1 text stays Latin-1.
  THtmlDecoded c = DecodeHtmlBytes(Page("<meta charset=iso-8859-1>", Utf8ToCp1251(kRussian)));
  EXPECT_EQ(c.Charset, THtmlCharset::Windows1251);
  THtmlDecoded d = DecodeHtmlBytes(Page("<meta charset=iso-8859-1>", "caf\xE9 na\xEFve"));
  EXPECT_EQ(d.Charset, THtmlCharset::Latin1);
  EXPECT_NE(d.Text.find("café naïve"), std::string::npos);
  // Nothing declared: the bytes decide.
  EXPECT_EQ(DecodeHtmlBytes(Page("", Utf8ToCp1251(kRussian))).Charset, THtmlCharset::Windows1251);
  EXPECT_EQ(DecodeHtmlBytes(Page("", kRussian)).Charset, THtmlCharset::Utf8);
}

TEST(HtmlCharsetTest, Utf8ValidationAndNulBytes) {
  EXPECT_TRUE(IsValidUtf8("plain ascii"));
  EXPECT_TRUE(IsValidUtf8(kRussian));
  EXPECT_FALSE(IsValidUtf8("\xD0"));              // cut short
  EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  const THtmlDecoded d = DecodeHtmlBytes(std::string("<p>a\0b</p>", 10));
  EXPECT_EQ(d.Text, "<p>a\xEF\xBF\xBD" "b</p>") << "a NUL would end the page for the parser";
}

TEST(HtmlAddressTest, PathsUrlsAndNetworkAddresses) {
  const THtmlAddress abs = ParseHtmlAddress("/tmp/work\\lectures\\l1.htm");
  EXPECT_EQ(abs.Kind, THtmlAddress::TKind::File);
  EXPECT_EQ(abs.Path, "/tmp/work/lectures/l1.htm");
  EXPECT_EQ(ParseHtmlAddress("lectures\\..\\labs/lab1.htm", "/w").Path, "/w/labs/lab1.htm");
  EXPECT_EQ(ParseHtmlAddress("Clear.htm").Path, (std::filesystem::current_path() / "Clear.htm").string());
  const THtmlAddress url = ParseHtmlAddress("file:///tmp/my%20docs/%D0%BB.htm#part%202");
  EXPECT_EQ(url.Kind, THtmlAddress::TKind::File);
  EXPECT_EQ(url.Path, "/tmp/my docs/л.htm");
  EXPECT_EQ(url.Fragment, "part 2");
  EXPECT_EQ(ParseHtmlAddress("file://localhost/tmp/a.htm").Path, "/tmp/a.htm");
  EXPECT_EQ(ParseHtmlAddress("file:///C:/tmp/a.htm").Path, "/tmp/a.htm");
  EXPECT_EQ(ParseHtmlAddress("lecture.htm#intro", "/w").Fragment, "intro");
  EXPECT_EQ(ParseHtmlAddress("https://example.org/x").Kind, THtmlAddress::TKind::Remote);
  EXPECT_EQ(ParseHtmlAddress("HTTP://example.org").Kind, THtmlAddress::TKind::Remote);
  EXPECT_EQ(ParseHtmlAddress("mailto:teacher@school").Kind, THtmlAddress::TKind::Remote);
  EXPECT_EQ(ParseHtmlAddress("  ").Kind, THtmlAddress::TKind::Blank);
  EXPECT_EQ(ParseHtmlAddress("C:\\Tessaly\\a.htm", "/w").Kind, THtmlAddress::TKind::File) << "a drive letter is no scheme";
}

TEST(HtmlPrepareTest, WordProcessorMarkupGoesAway) {
  const std::string in =
      "<p class=MsoNormal>A<o:p></o:p></p><!--[if gte mso 9]><xml><w:WordDocument/></xml><![endif]-->"
      "<p><![if !supportLists]>&#183;<![endif]>B</p><v:shape id=x><v:imagedata src=a.png/></v:shape>"
      "<style><!-- p.x{color:red} --></style><script>if (a<b) {}</script>";
  const THtmlPrepared out = PrepareHtml(in);
  EXPECT_EQ(out.Text,
            "<p class=MsoNormal>A</p><p>&#183;B</p><style>  p.x{color:red}  </style><script>if (a<b) {}</script>");
}

TEST(HtmlPrepareTest, DeepNestingIsFlattenedAndTextKept) {
  std::string in;
  for (int i = 0; i < 20000; ++i) in += "<div class=\"d\">";
  in += "текст";
  for (int i = 0; i < 20000; ++i) in += "</div>";
  in += "<p>после";
  const THtmlPrepared out = PrepareHtml(in, 100);
  EXPECT_EQ(out.MaxDepth, 20000);
  EXPECT_EQ(out.DroppedTags, 19900u);
  std::string expected;
  for (int i = 0; i < 100; ++i) expected += "<div class=\"d\">";
  expected += "текст";
  for (int i = 0; i < 100; ++i) expected += "</div>";
  EXPECT_EQ(out.Text, expected + "<p>после");
}

TEST(HtmlPrepareTest, SiblingsThatCloseThemselvesDoNotCountAsNesting) {
  std::string in = "<ul>";
  for (int i = 0; i < 1000; ++i) in += "<li>пункт <p>абзац ";
  in += "</ul><table>";
  for (int i = 0; i < 500; ++i) in += "<tr><td>1<td>2";
  in += "</table><br><img src=a.png><input/>";
  const THtmlPrepared out = PrepareHtml(in, 16);
  EXPECT_EQ(out.DroppedTags, 0u);
  EXPECT_EQ(out.Text, in);
  EXPECT_LE(out.MaxDepth, 4);
  EXPECT_EQ(out.Words, 1000u * 2 + 500u * 2);
}

TEST(HtmlPrepareTest, BinaryLooksBinary) {
  EXPECT_FALSE(LooksBinary("<html><body>\tтекст\r\n</body></html>"));
  std::string binary(4096, 'a');
  for (std::size_t i = 0; i < binary.size(); i += 7) binary[i] = static_cast<char>(i % 9);
  EXPECT_TRUE(LooksBinary(binary));
  EXPECT_FALSE(LooksBinary("\xFF\xFE<\0p\0>\0"));
}
