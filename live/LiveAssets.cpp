// The style sheet and the script of the live pages. Phones first: one
// column, 16 px text that needs no zoom, tap targets of a finger's size, and
// the colours of the reader's light or dark setting.
#include "live/LiveHtml.h"

namespace tabry::live {

const std::string& StyleSheet()
{
    static const std::string css = R"css(:root {
  color-scheme: light dark;
  --bg: #ffffff; --fg: #1b1b1b; --muted: #5f6368; --line: #dadce0; --head: #f1f3f4;
  --link: #1a55c4; --accent: #0b6e4f;
}
@media (prefers-color-scheme: dark) {
  :root {
    --bg: #121212; --fg: #e8eaed; --muted: #9aa0a6; --line: #3c4043; --head: #202124;
    --link: #8ab4f8; --accent: #81c995;
  }
}
html { -webkit-text-size-adjust: 100%; text-size-adjust: 100%; }
body {
  margin: 0; background: var(--bg); color: var(--fg);
  font: 16px/1.5 system-ui, -apple-system, "Hiragino Sans", "Noto Sans CJK JP", "IPAPGothic", sans-serif;
}
main { max-width: 44rem; margin: 0 auto; padding: 0 .75rem 2rem; }
header { padding: .75rem 0 .25rem; font-weight: 600; }
header .date { color: var(--muted); font-weight: normal; margin-left: .5rem; }
a { color: var(--link); }
a.event { color: inherit; text-decoration: none; }
nav { display: flex; gap: .25rem; border-bottom: 1px solid var(--line); margin-bottom: .5rem; }
nav a { flex: 1; text-align: center; padding: .6rem .25rem; text-decoration: none; border-bottom: 3px solid transparent; }
nav a[aria-current] { border-bottom-color: var(--accent); color: var(--fg); font-weight: 600; }
h1 { font-size: 1.35rem; margin: .75rem 0 .25rem; }
h2 { font-size: 1.1rem; margin: 1.25rem 0 .25rem; }
.note, .who { color: var(--muted); font-size: .9rem; margin: .25rem 0 .75rem; }
.summary { font-weight: 600; }
table { width: 100%; border-collapse: collapse; }
th { background: var(--head); font-weight: 600; font-size: .85rem; text-align: left; }
th, td { padding: .45rem .35rem; border-bottom: 1px solid var(--line); vertical-align: top; }
.num { text-align: right; white-space: nowrap; font-variant-numeric: tabular-nums; }
.points { font-weight: 600; }
td small, li small { color: var(--muted); font-size: .8rem; }
td small { display: block; }
.withdrawn { display: block; color: var(--muted); font-size: .8rem; }
ol.boards { list-style: none; padding: 0; margin: 0; font-size: .95rem; }
ol.boards li {
  display: grid; grid-template-columns: 2.4em minmax(0, 1fr) 3.8em minmax(0, 1fr); align-items: baseline;
  padding: .3rem 0; border-bottom: 1px solid var(--line);
}
ol.boards .no { font-weight: 600; text-align: right; padding-right: .4em; font-variant-numeric: tabular-nums; }
ol.boards .p { overflow: hidden; text-overflow: ellipsis; white-space: nowrap; }
ol.boards .r { text-align: center; font-weight: 600; white-space: nowrap; }
ol.boards small { color: var(--muted); font-size: .75rem; }
.now { font-size: 1.1rem; margin: .25rem 0 .5rem; }
.now .board { font-size: 1.3rem; }
.find { width: 100%; box-sizing: border-box; font: inherit; padding: .5rem; margin: .25rem 0 .5rem;
  border: 1px solid var(--line); border-radius: .3rem; background: var(--bg); color: var(--fg); }
.result { font-weight: 600; }
.rounds { display: flex; flex-wrap: wrap; gap: .25rem; }
.rounds a, .rounds strong { min-width: 2.5rem; padding: .4rem 0; text-align: center; border: 1px solid var(--line); border-radius: .3rem; }
.rounds strong { background: var(--head); }
ul.plain { list-style: none; padding: 0; margin: 0; }
ul.plain li { padding: .45rem 0; border-bottom: 1px solid var(--line); }
ul.menu { padding-left: 1.2rem; }
ul.menu li { padding: .35rem 0; }
)css";
    return css;
}

const std::string& PageScript()
{
    static const std::string js = R"js(// Keeps the page current without a reload: once a second it asks for the
// same address with the version it shows; the server answers 304 until a
// newer state is published, then the new <main> replaces the old one.
// On the index it also shows the search box, which filters the players as
// one types (the box and what it holds survive the replacement).
(function () {
  "use strict";
  function filter() {
    var box = document.getElementById("find");
    if (!box) return;
    box.hidden = false;
    // NFKC reads full-width letters and digits (a phone's Japanese input)
    // as the plain ones, on both sides.
    var fold = function (s) { return (s.normalize ? s.normalize("NFKC") : s).toLowerCase(); };
    var words = fold(box.value).split(/\s+/).filter(Boolean);
    var items = document.querySelectorAll("li[data-find]");
    for (var i = 0; i < items.length; i++) {
      var text = fold(items[i].getAttribute("data-find"));
      items[i].hidden = !words.every(function (w) { return text.indexOf(w) >= 0; });
    }
  }
  document.addEventListener("input", function (e) {
    if (e.target && e.target.id === "find") filter();
  });
  filter();
  if (!window.fetch || !window.DOMParser) return;
  function shown() {
    var main = document.querySelector("main");
    return main ? main.getAttribute("data-version") : null;
  }
  function poll() {
    var version = shown();
    if (!version) return;
    var active = document.activeElement;
    if (active && active.id === "find") {
      // Not while someone types into the search box: the keyboard stays.
      setTimeout(poll, 1000);
      return;
    }
    fetch(location.pathname, {
      headers: { "If-None-Match": "\"" + version + "\"" },
      cache: "no-store",
      credentials: "omit"
    }).then(function (response) {
      return response.status === 200 ? response.text() : null;
    }).then(function (text) {
      if (!text) return;
      var page = new DOMParser().parseFromString(text, "text/html");
      var fresh = page.querySelector("main");
      var old = document.querySelector("main");
      if (fresh && old && fresh.getAttribute("data-version")) {
        var imported = document.importNode(fresh, true);
        var box = document.getElementById("find");
        var freshBox = imported.querySelector("#find");
        if (box && freshBox) freshBox.replaceWith(box);
        old.replaceWith(imported);
        document.title = page.title;
        filter();
      }
    }).catch(function () {}).then(function () {
      setTimeout(poll, 1000);
    });
  }
  setTimeout(poll, 1000);
})();
)js";
    return js;
}

} // namespace tabry::live
