"""The page's own style and its one small script, kept inline so that the
page is a single file that works from a disk, a mail or any web server."""

CSS = """
:root { color-scheme: light; --rule: #d0d4da; --shade: #f3f5f8; --ink: #1d2330; }
* { box-sizing: border-box; }
body { font: 15px/1.45 system-ui, -apple-system, "Segoe UI", "DejaVu Sans", sans-serif;
  color: var(--ink); margin: 0 auto; padding: 0 1rem 3rem; max-width: 72rem; }
header { border-bottom: 2px solid var(--ink); margin-bottom: 1rem; }
h1 { font-size: 1.5rem; margin: 1rem 0 .3rem; }
h2 { font-size: 1.25rem; margin-top: 2.2rem; border-bottom: 1px solid var(--rule); }
h3 { font-size: 1.05rem; margin: 1.4rem 0 .4rem; }
nav a { margin-right: 1rem; }
a { color: #1a55a8; }
.wide { overflow-x: auto; -webkit-overflow-scrolling: touch; }
table { border-collapse: collapse; font-variant-numeric: tabular-nums; }
th, td { padding: .2rem .55rem; border-bottom: 1px solid var(--rule); text-align: left;
  vertical-align: top; }
td.n, th.n { text-align: right; white-space: nowrap; }
thead th { background: var(--shade); position: sticky; top: 0; }
#ratings thead th { cursor: pointer; user-select: none; white-space: nowrap; }
#ratings thead th[aria-sort="ascending"]::after { content: " \\25B2"; }
#ratings thead th[aria-sort="descending"]::after { content: " \\25BC"; }
#ratings tr.cluster th { background: #e4e9f1; text-align: left; }
#ratings td.elo { font-weight: 600; }
.fen { font-family: "DejaVu Sans Mono", Menlo, Consolas, monospace; font-size: .85em; min-width: 14em;
  word-break: break-all; }
figure { margin: 1.2rem 0; }
figure svg { width: 100%; height: auto; max-width: 60rem; display: block; }
figcaption { color: #4a5160; font-size: .9rem; }
.program { border-top: 1px solid var(--rule); padding-top: .3rem; }
.facts th { font-weight: normal; color: #4a5160; }
.links a { margin-right: .35rem; }
details summary { cursor: pointer; color: #1a55a8; }
.note { color: #4a5160; font-size: .9rem; }
@media (max-width: 40rem) {
  body { font-size: 14px; padding: 0 .5rem 2rem; }
  th, td { padding: .15rem .3rem; }
  nav a { display: inline-block; margin: .15rem .8rem .15rem 0; }
}
@media print {
  body { max-width: none; font-size: 10pt; }
  nav, .note.screen { display: none; }
  .wide { overflow: visible; }
  thead th { position: static; }
  a { color: inherit; text-decoration: none; }
  .program, figure, tr { break-inside: avoid; }
}
"""

# Sorting: each cluster's rows among themselves (ratings of different
# clusters are not comparable), numbers as numbers, ascending first. Printing
# opens every folded list.
SCRIPT = """
(function () {
  var table = document.getElementById("ratings");
  if (!table) return;
  function key(row, column) {
    var text = row.cells[column].getAttribute("data-key") || row.cells[column].textContent;
    var value = parseFloat(text);
    return isNaN(value) || !/^\\s*[-+]?[0-9.]/.test(text) ? text.toLowerCase() : value;
  }
  var headers = table.tHead.rows[0].cells;
  Array.prototype.forEach.call(headers, function (header, column) {
    header.addEventListener("click", function () {
      var ascending = header.getAttribute("aria-sort") !== "ascending";
      Array.prototype.forEach.call(headers, function (h) { h.removeAttribute("aria-sort"); });
      header.setAttribute("aria-sort", ascending ? "ascending" : "descending");
      Array.prototype.forEach.call(table.tBodies, function (body) {
        var rows = Array.prototype.filter.call(body.rows, function (r) {
          return !r.classList.contains("cluster");
        });
        rows.sort(function (a, b) {
          var x = key(a, column), y = key(b, column);
          var order = typeof x === typeof y ? (x < y ? -1 : x > y ? 1 : 0)
                                            : (typeof x === "number" ? -1 : 1);
          return ascending ? order : -order;
        });
        rows.forEach(function (r) { body.appendChild(r); });
      });
    });
  });
  window.addEventListener("beforeprint", function () {
    Array.prototype.forEach.call(document.querySelectorAll("details"), function (d) {
      d.open = true;
    });
  });
})();
"""
