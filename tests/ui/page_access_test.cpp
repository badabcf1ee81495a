// What a page shows and what it may read, measured with the real engine. The outcomes are those of
// a mainstream browser's "file:" view of the same files, except that a script runs only from a
// file whose name says it is one.
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QWebEngineView>
#include <algorithm>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "ui/LoopbackWebServer.h"
#include "ui/PageSite.h"
#include "ui/WindowProbe.h"

using namespace Qt::Literals::StringLiterals;

namespace {

// "ROOT" in a case stands for the site's "file:" URL. How a case's check ended: "shown" (a resource
// rendered), "missing" (it did not load or did not apply), "read" (a script got a local file's
// content) or "refused" (the engine threw).
struct AccessCase {
  const char* label;
  const char* markup;  // the page's body
  const char* check;   // a script expression, awaited: true/false, or content read
  const char* expected;
};

// The ways a script may try to read a file's content, each giving the content or false.
constexpr char kReaders[] =
    "<script>"
    "function readByXhr(url) { return new Promise((done, fail) => { "
    "const x = new XMLHttpRequest(); x.open('GET', url); x.onload = () => done(x.responseText); "
    "x.onerror = fail; x.send(); }); }"
    "function readImagePixel(id) { const image = document.getElementById(id); "
    "if (image.naturalWidth !== 1) return false; "
    "const c = document.createElement('canvas').getContext('2d'); "
    "c.drawImage(image, 0, 0); return c.getImageData(0, 0, 1, 1).data.join(); }"
    "function loaded(element, content) { return new Promise(done => { "
    "element.onload = () => done(content()); element.onerror = () => done(false); }); }"
    "function readMedia(tag, url) { return new Promise(done => { "
    "const m = document.createElement(tag); m.crossOrigin = 'anonymous'; "
    "m.oncanplaythrough = () => done('samples readable'); m.onerror = () => done(false); "
    "m.src = url; }); }"
    "function readCue() { const v = document.createElement('video'); "
    "const t = document.createElement('track'); t.default = true; t.src = 't.vtt'; "
    "v.appendChild(t); document.body.appendChild(v); "
    "return loaded(t, () => t.track.cues[0].text); }"
    "function runScript(url, crossOrigin) { const s = document.createElement('script'); "
    "if (crossOrigin) s.crossOrigin = 'anonymous'; s.src = url; "
    "const error = new Promise(done => { window.onerror = message => { done(message); "
    "return true; }; }); document.body.appendChild(s); "
    "return Promise.race([error, loaded(s, () => String(window.DB_PASSWORD ?? true))]); }"
    "function readStylesheet(url) { const l = document.createElement('link'); "
    "l.rel = 'stylesheet'; l.crossOrigin = 'anonymous'; l.href = url; "
    "document.head.appendChild(l); return loaded(l, () => l.sheet.cssRules[0].cssText); }"
    "function runWorker(url) { return new Promise(done => { const w = new Worker(url); "
    "w.onmessage = e => done(e.data); w.onerror = () => done(false); }); }"
    "</script>";

class FileAccess : public testing::TestWithParam<AccessCase> {};

TEST_P(FileAccess, ResourcesRenderButNoScriptReadsALocalFile) {
  const Site site;
  const std::string script = std::string(kReaders) +
                             "<script>window.onload = async () => { let outcome; try { "
                             "const value = await (async () => (" +
                             GetParam().check +
                             "))(); outcome = value === true ? 'shown' : value === false ? "
                             "'missing' : 'read'; } catch (e) { outcome = 'refused'; } "
                             "document.title = outcome; };</script>";
  Write(site.folder.Path() / "docs/page.html",
        "<!DOCTYPE html><html><head><title>loading</title></head><body>" +
            Replaced(GetParam().markup + script, "ROOT", site.Root()) + "</body></html>");
  const auto window = Open({Text(site.folder.Path() / "docs/page.html")});
  EXPECT_TRUE(ShowsPage(*window, QString::fromLatin1(GetParam().expected)))
      << View(*window)->title().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Displayed, FileAccess,
    testing::Values(
        AccessCase{"StylesheetBesideThePage", "<link rel='stylesheet' href='s.css?2022.1'>",
                   "getComputedStyle(document.body).color === 'rgb(1, 2, 3)'", "shown"},
        AccessCase{"ScriptInASiblingFolder", "<script src='../lib/s.js?v=1a2b'></script>",
                   "window.libraryLoaded === true", "shown"},
        AccessCase{"ScriptByAbsoluteFileUrl", "<script src='ROOT/lib/s.js'></script>",
                   "window.libraryLoaded === true", "shown"},
        AccessCase{"ImageInTheParentsFolder", "<img id='i' src='../img/i.gif'>",
                   "document.getElementById('i').naturalWidth === 1", "shown"},
        AccessCase{"ImageByAbsoluteFileUrl", "<img id='i' src='ROOT/img/i.gif'>",
                   "document.getElementById('i').naturalWidth === 1", "shown"},
        AccessCase{"FontInASiblingFolder",
                   "<style>@font-face { font-family: F; src: url(../fonts/f.ttf); }</style>",
                   "(await document.fonts.load('16px F')).length === 1", "shown"},
        AccessCase{"FontByAbsoluteFileUrl",
                   "<style>@font-face { font-family: F; src: url(ROOT/fonts/f.ttf); }</style>",
                   "(await document.fonts.load('16px F')).length === 1", "shown"},
        AccessCase{"MediaBesideThePage", "<audio id='a' src='a.wav' preload='auto'></audio>",
                   "new Promise(done => { const a = document.getElementById('a'); "
                   "if (a.readyState >= 3) done(true); a.oncanplaythrough = () => done(true); "
                   "a.onerror = () => done(false); })",
                   "shown"},
        AccessCase{"FrameInASiblingFolder",
                   "<script>window.framed = new Promise(done => addEventListener('message', "
                   "event => done(event.data === 'framed')));</script>"
                   "<iframe src='../frames/f.html'></iframe>",
                   "window.framed", "shown"}),
    [](const testing::TestParamInfo<AccessCase>& info) { return std::string(info.param.label); });

INSTANTIATE_TEST_SUITE_P(
    Read, FileAccess,
    testing::Values(
        AccessCase{"FetchBesideThePage", "", "(await fetch('q.html')).text()", "refused"},
        AccessCase{"FetchByFileUrl", "", "(await fetch('ROOT/lib/s.js')).text()", "refused"},
        AccessCase{"XhrBesideThePage", "", "readByXhr('q.html')", "refused"},
        AccessCase{"XhrByFileUrl", "", "readByXhr('ROOT/lib/s.js')", "refused"},
        AccessCase{"FrameBesideThePage", "<iframe id='f' src='q.html'></iframe>",
                   "document.getElementById('f').contentDocument.body.innerText", "refused"},
        AccessCase{"FrameByFileUrl", "<iframe id='f' src='ROOT/docs/q.html'></iframe>",
                   "document.getElementById('f').contentDocument.body.innerText", "refused"},
        AccessCase{"CanvasOfAnImageBesideThePage", "<img id='i' src='i.gif'>",
                   "readImagePixel('i')", "refused"},
        AccessCase{"CanvasOfAnImageByFileUrl", "<img id='i' src='ROOT/img/i.gif'>",
                   "readImagePixel('i')", "refused"},
        AccessCase{"CrossOriginImage", "<img id='i' crossorigin src='i.gif'>",
                   "readImagePixel('i')", "missing"},
        AccessCase{"CrossOriginImageByFileUrl", "<img id='i' crossorigin src='ROOT/img/i.gif'>",
                   "readImagePixel('i')", "missing"},
        AccessCase{"MediaOfAnotherName", "", "readMedia('audio', '../secret/app.env')", "missing"},
        AccessCase{"VideoOfAnotherName", "", "readMedia('video', 'ROOT/secret/data.json')",
                   "missing"},
        AccessCase{"TrackCues", "", "readCue()", "missing"},
        AccessCase{"CrossOriginStylesheet", "", "readStylesheet('s.css')", "missing"},
        AccessCase{"CrossOriginScriptErrorText", "", "runScript('../secret/app.env', true)",
                   "missing"},
        AccessCase{"ScriptOfAnotherName", "", "runScript('../secret/app.env', false)", "missing"},
        AccessCase{"ScriptOfAnotherNameByFileUrl", "", "runScript('ROOT/secret/app.env', false)",
                   "missing"},
        AccessCase{"ScriptNamedByALinkToAnotherFile", "", "runScript('cfg.js', false)", "missing"},
        AccessCase{"SavedFileOfAnotherName", "", "runScript('app.env.download', false)", "missing"},
        AccessCase{"QueryAfterAnotherName", "", "runScript('app.env%3Fx.js', false)", "missing"},
        AccessCase{"KeyWithoutExtension", "", "runScript('keys/id_rsa', false)", "missing"},
        AccessCase{"NoExtensionInAHiddenFolder", "", "runScript('.config/settings', false)",
                   "missing"},
        AccessCase{"NoExtensionOutsideThePagesFolder", "", "runScript('../secret/settings', false)",
                   "missing"},
        AccessCase{"StylesheetOfAnotherType", "<link rel='stylesheet' href='s.txt'>",
                   "getComputedStyle(document.body).color === 'rgb(4, 5, 6)'", "missing"},
        AccessCase{"ModuleScript", "", "(await import('./m.mjs')).x", "refused"},
        AccessCase{"JsonModule", "",
                   "(await import('ROOT/secret/data.json', {assert: {type: 'json'}})).default",
                   "refused"},
        AccessCase{"CssModule", "",
                   "(await import('./s.css', {assert: {type: 'css'}})).default.cssRules.length",
                   "refused"},
        AccessCase{"Worker", "", "runWorker('w.js')", "refused"}),
    [](const testing::TestParamInfo<AccessCase>& info) { return std::string(info.param.label); });

// Where a saver puts a page's resources and how it names them; the page's own links name them as
// the saver wrote them. A stylesheet always keeps its extension: a browser applies one from a file
// only when its name says CSS.
struct SavedPageCase {
  const char* label;
  const char* script;
  const char* stylesheet;
  const char* font;
  const char* image;
};

class SavedPage : public testing::TestWithParam<SavedPageCase> {};

TEST_P(SavedPage, RunsItsScriptAndShowsItsStylesheetFontAndImage) {
  TemporaryFolder folder;
  const std::filesystem::path root = folder.Path() / "site";
  const auto decoded = [&root](const char* link) { return root / Replaced(link, "%3F", "?"); };
  Write(decoded(GetParam().script), "window.libraryLoaded = true;");
  Write(decoded(GetParam().stylesheet), "body { color: rgb(1, 2, 3); }");
  Write(decoded(GetParam().image), kGifBytes);
  std::filesystem::create_directories(decoded(GetParam().font).parent_path());
  std::filesystem::copy_file(kFont, decoded(GetParam().font));
  Write(root / "page.html",
        std::string("<title>loading</title><link rel='stylesheet' href='") + GetParam().stylesheet +
            "'><script src='" + GetParam().script +
            "'></script><style>@font-face { font-family: F; src: url('" + GetParam().font +
            "'); }</style><img id='i' src='" + GetParam().image +
            "'><script>addEventListener('load', async () => { document.title = [window."
            "libraryLoaded, getComputedStyle(document.body).color, (await document.fonts.load("
            "'16px F')).length, document.getElementById('i').naturalWidth].join(' '); });"
            "</script>");
  const auto window = Open({Text(root / "page.html")});
  EXPECT_TRUE(ShowsPage(*window, u"true rgb(1, 2, 3) 1 1"_s))
      << View(*window)->title().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Savers, SavedPage,
    testing::Values(SavedPageCase{"BrowsersCompletePage", "page_files/jquery.min.js.download",
                                  "page_files/style.css", "page_files/brand.woff2",
                                  "page_files/logo.gif"},
                    SavedPageCase{"WgetWithAdjustedExtensions", "js/app.js%3Fv=3",
                                  "css/style.css%3Fv=2.css", "fonts/brand.woff2%3Fv=2",
                                  "img/logo.gif%3Fv=1"},
                    SavedPageCase{"WgetWithNamesAsPublished", "js/analytics", "css/theme.css",
                                  "fonts/brand", "img/logo"}),
    [](const testing::TestParamInfo<SavedPageCase>& info) {
      return std::string(info.param.label);
    });

// A page shown by its own name; the script at its end puts what it found in the title.
struct RenderingCase {
  const char* label;
  const char* name;
  std::string content;
  QString title;
};

class PageRendering : public testing::TestWithParam<RenderingCase> {};

TEST_P(PageRendering, IsReadAsABrowserReadsALocalFile) {
  TemporaryFolder folder;
  Write(folder.Path() / GetParam().name, GetParam().content);
  const auto window = Open({Text(folder.Path() / GetParam().name)});
  EXPECT_TRUE(ShowsPage(*window, GetParam().title)) << View(*window)->title().toStdString();
}

constexpr char kShowText[] =
    "<script>document.title = document.getElementById('p').textContent;</script>";

INSTANTIATE_TEST_SUITE_P(
    Cases, PageRendering,
    testing::Values(RenderingCase{"Utf8WithoutDeclaration", "a.html",
                                  std::string("<!DOCTYPE html><p id='p'>l\xC3\xAA"
                                              "ers</p>") +
                                      kShowText,
                                  u"l\u00EAers"_s},
                    RenderingCase{"DeclaredCharsetWins", "a.html",
                                  std::string("<meta charset='iso-8859-1'><p id='p'>l\xC3\xAA"
                                              "ers</p>") +
                                      kShowText,
                                  u"l\u00C3\u00AAers"_s},
                    RenderingCase{"NotUtf8ReadInTheEnginesDefault", "a.html",
                                  std::string("<p id='p'>l\xEA"
                                              "ers</p>") +
                                      kShowText,
                                  u"l\u00EAers"_s},
                    RenderingCase{"InvalidByteBeyondTheCheckedStart", "a.html",
                                  std::string("<!DOCTYPE html><p id='p'>l\xC3\xAA"
                                              "ers</p>") +
                                      kShowText + std::string(70000, ' ') + "\xEA",
                                  u"l\u00EAers"_s},
                    RenderingCase{
                        "HtmlWithAnXmlDeclaration", "a.html",
                        "<?xml version='1.0' encoding='utf-8'?>\n<!DOCTYPE html><html><body>a<br>b"
                        "<script>document.title = document.contentType;</script></body></html>",
                        u"text/html"_s}),
    [](const testing::TestParamInfo<RenderingCase>& info) {
      return std::string(info.param.label);
    });

// A text file a page links to, as a reader follows the link.
TEST(PageRendering, LinkedTextFileIsReadAsUtf8) {
  TemporaryFolder folder;
  Write(folder.Path() / "notes.txt",
        "l\xC3\xAA"
        "ers");
  folder.Page("a.html", "a", "<a id='a' href='notes.txt'>notes</a>");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, u"a"_s));
  View(*window)->page()->runJavaScript(u"document.getElementById('a').click()"_s);
  const QString text = PageTextOnceItHas(*View(*window), u"l\u00EAers"_s);
  EXPECT_TRUE(text.contains(u"l\u00EAers"_s)) << text.toStdString();
}

// A link from a page to a file or folder the type table says nothing of, followed as a reader
// follows it: the page shown then holds `shown` in its text, and never `hidden`.
struct LinkedDocumentCase {
  const char* label;
  const char* href;
  const char* shown;
  const char* hidden;
};

class LinkedDocument : public testing::TestWithParam<LinkedDocumentCase> {};

TEST_P(LinkedDocument, ShowsWhatAWebServerOrABrowserShows) {
  TemporaryFolder folder;
  Write(folder.Path() / "about/index.html",
        "<title>about</title>about page <span id='s'>script did not run</span>"
        "<script src='a.js'></script>");
  Write(folder.Path() / "about/a.js", "document.getElementById('s').textContent = 'script ran';");
  Write(folder.Path() / "guide/index.htm", "<title>guide</title>guide page");
  std::filesystem::create_directories(folder.Path() / "empty");
  std::filesystem::create_directories(folder.Path() / "loop");
  std::filesystem::create_directory_symlink(".", folder.Path() / "loop/index.html");
  Write(folder.Path() / "page2", "<!DOCTYPE html><html><title>Page 2</title><p>second page</p>");
  Write(folder.Path() / "LICENSE", "Permission is hereby granted, free of charge");
  Write(folder.Path() / "Makefile", "all:\n\tcc -o app app.c\n");
  Write(folder.Path() / "blob", std::string("\x7f\x00\x01\x02\xff\xfe\x00\x00", 8));
  folder.Page("a.html", "a", std::string("<a id='a' href='") + GetParam().href + "'>link</a>");
  const auto window = Open({Text(folder.Path() / "a.html")});
  ASSERT_TRUE(ShowsPage(*window, u"a"_s));
  View(*window)->page()->runJavaScript(u"document.getElementById('a').click()"_s);
  const QString shown = QString::fromUtf8(GetParam().shown);
  const QString text = PageTextOnceItHas(*View(*window), shown);
  EXPECT_TRUE(text.contains(shown)) << text.toStdString();
  EXPECT_FALSE(text.contains(QString::fromUtf8(GetParam().hidden))) << text.toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LinkedDocument,
    testing::Values(
        LinkedDocumentCase{"FolderWithIndexHtml", "about/", "about page script ran", "<"},
        LinkedDocumentCase{"FolderWithoutItsSlash", "about", "about page script ran", "<"},
        LinkedDocumentCase{"FolderWithIndexHtm", "guide/", "guide page", "<"},
        LinkedDocumentCase{"FolderWithoutAnIndex", "empty/",
                           "empty is a folder without an index.html or index.htm page", "<"},
        LinkedDocumentCase{"FolderWhoseIndexIsAFolder", "loop/",
                           "loop is a folder without an index.html", "<"},
        LinkedDocumentCase{"PageWithoutAnExtension", "page2", "<p>second page</p>", "not text"},
        LinkedDocumentCase{"TextWithoutAnExtension", "LICENSE", "Permission is hereby granted",
                           "not text"},
        LinkedDocumentCase{"TextTheDesktopKnowsByName", "Makefile", "cc -o app app.c", "not text"},
        LinkedDocumentCase{"NeitherPageNorText", "blob",
                           "blob is not text and its name gives no type", "\x7f"}),
    [](const testing::TestParamInfo<LinkedDocumentCase>& info) {
      return std::string(info.param.label);
    });

// Laid out as Sphinx lays out its output: the search index is a script that calls into the
// theme's scripts, which load with version queries, as does the stylesheet.
TEST(DocumentationSets, SphinxSearchPageLoadsItsIndex) {
  TemporaryFolder folder;
  const auto& root = folder.Path();
  Write(root / "_static/doctools.js",
        "window.Search = { setIndex(index) { window.indexed = index.docnames.length; } };");
  Write(root / "_static/pydoctheme.css", "body { color: rgb(7, 8, 9); }");
  Write(root / "searchindex.js", "Search.setIndex({\"docnames\": [\"index\", \"intro\"]});");
  folder.Page("search.html", "search",
              "<link rel='stylesheet' href='_static/pydoctheme.css?2022.1'>"
              "<script src='_static/doctools.js?v=1a2b'></script>"
              "<script defer src='searchindex.js'></script>"
              "<script>addEventListener('load', () => { document.title = window.indexed + ' ' + "
              "getComputedStyle(document.body).color; });</script>");
  const auto window = Open({Text(root / "search.html")});
  EXPECT_TRUE(ShowsPage(*window, u"2 rgb(7, 8, 9)"_s)) << View(*window)->title().toStdString();
}

// Waits for the title without pausing the event loop: polling sleeps between its rounds, and each
// of a hundred local loads passes through the window's thread several times.
bool ShowsPageWithoutPauses(const TfrmMain& window, const QString& title) {
  const QDeadlineTimer deadline(kPageTimeoutMs);
  QWebEngineView* view = View(window);
  while (view->title() != title) {
    if (deadline.hasExpired()) return false;
    QSignalSpy changed(view, &QWebEngineView::titleChanged);
    changed.wait(static_cast<int>(std::min<qint64>(deadline.remainingTime(), 100)));
  }
  return true;
}

TEST(DocumentationSets, PageWithAHundredImagesAndItsScriptsAndStylesheets) {
  TemporaryFolder folder;
  std::string body;
  for (int i = 0; i < 100; ++i) {
    const std::string n = std::to_string(i);
    Write(folder.Path() / ("img/" + n + ".gif"), kGifBytes);
    body += "<img src='img/" + n + ".gif'>";
  }
  for (int i = 0; i < 10; ++i) {
    const std::string n = std::to_string(i);
    Write(folder.Path() / ("js/" + n + ".js"), "window.scripts = (window.scripts || 0) + 1;");
    Write(folder.Path() / ("css/" + n + ".css"), "#c" + n + " { width: 1px; }");
    body += "<script src='js/" + n + ".js'></script><link rel='stylesheet' href='css/" + n +
            ".css'><div id='c" + n + "'></div>";
  }
  folder.Page("many.html", "many",
              body +
                  "<script>addEventListener('load', () => { "
                  "const images = [...document.images].filter(i => i.naturalWidth === 1); "
                  "const styled = [...document.querySelectorAll('div')].filter("
                  "d => d.offsetWidth === 1); document.title = images.length + ' ' + "
                  "window.scripts + ' ' + styled.length; });</script>");
  const auto window = Open({Text(folder.Path() / "many.html")});
  EXPECT_TRUE(ShowsPageWithoutPauses(*window, u"100 10 10"_s))
      << View(*window)->title().toStdString();
}

// Where a link from a local page leads before Back returns to it: "WEB" stands for the address of
// a web server on the loopback address.
struct WebLinkCase {
  const char* label;
  const char* address;
};

class BackAfterWebLink : public testing::TestWithParam<WebLinkCase> {};

// The page comes back as its first load showed it: its stylesheet, script and image all load, and
// it still reads no local file. The link is clicked as a user would: the engine's Back skips pages
// left without a user's gesture. An unload handler, as many pages have, keeps the page out of the
// engine's cache of pages left, so Back loads it anew.
TEST_P(BackAfterWebLink, ShowsTheLocalPageWhole) {
  const Site site;
  const LoopbackWebServer web("<title>web</title>");
  const std::string address =
      Replaced(GetParam().address, "WEB", web.Url().toString().toStdString());
  Write(site.folder.Path() / "docs/page.html",
        "<title>loading</title><link rel='stylesheet' href='s.css'>"
        "<script src='../lib/s.js'></script><img id='i' src='../img/i.gif'>"
        "<a style='position: fixed; left: 0; top: 0; width: 300px; height: 100px; display: block' "
        "href='" +
            address +
            "'>web</a><script>addEventListener('unload', () => {}); "
            "addEventListener('load', async () => { const read = await "
            "fetch('q.html').then(() => 'read', () => 'refused'); document.title = "
            "[getComputedStyle(document.body).color, window.libraryLoaded, "
            "document.getElementById('i').naturalWidth, read, "
            "performance.getEntriesByType('navigation')[0].type].join(' '); });</script>");
  const QString whole = u"rgb(1, 2, 3) true 1 refused "_s;
  const auto window = Open({Text(site.folder.Path() / "docs/page.html")});
  ASSERT_TRUE(Activate(*window));
  ASSERT_TRUE(ShowsPage(*window, whole + u"navigate"_s)) << View(*window)->title().toStdString();
  QWebEngineView* view = View(*window);
  QSignalSpy finished(view, &QWebEngineView::loadFinished);
  QTest::mouseClick(view->focusProxy(), Qt::LeftButton, {}, QPoint(50, 50));
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return view->url().scheme() == u"http"_s && !finished.isEmpty(); }, kPageTimeoutMs));
  QTest::keyClick(view->focusProxy(), Qt::Key_Left, Qt::AltModifier);
  EXPECT_TRUE(ShowsPage(*window, whole + u"back_forward"_s)) << view->title().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BackAfterWebLink,
    testing::Values(WebLinkCase{"WebPageThatLoads", "WEB"},
                    WebLinkCase{"ConnectionRefused", "http://127.0.0.1:9/"},
                    WebLinkCase{"NameThatDoesNotResolve", "http://no-such-host.invalid/"}),
    [](const testing::TestParamInfo<WebLinkCase>& info) { return std::string(info.param.label); });

}  // namespace
