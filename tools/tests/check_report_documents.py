#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""The adjustment report through the real batch tool, read back as a reader
of each format reads it: the HTML by Python's HTML parser, the CSV by its CSV
reader, the ODT as a zip with its content.xml.  Every table must hold the
numbers --json gives for the same job (to the digits the report shows), and
the steps of the computation must agree with themselves: N = A Q A^T and
N k = -w from the printed A, q and k, and A v + w = 0.

usage: check_report_documents.py KORVANET_BATCH EXAMPLES_DIR
"""

import csv
import html.parser
import io
import json
import math
import os
import re
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET
import zipfile

BATCH, EXAMPLES = sys.argv[1], sys.argv[2]
failures = []
checked = 0


def check(condition, what):
    global checked
    checked += 1
    if not condition:
        failures.append(what)
    return condition


def run(*args):
    return subprocess.run([BATCH, *args], capture_output=True, text=True, stdin=subprocess.DEVNULL)


def number(cell):
    """A cell as a number: plain, 1/N (gives N), or d°m′s″ (gives degrees)."""
    cell = cell.strip()
    m = re.fullmatch(r"(-?)(\d+)°(\d+)′([\d.]+)″", cell)
    if m:
        value = int(m[2]) + int(m[3]) / 60 + float(m[4]) / 3600
        return -value if m[1] else value
    if cell.startswith("1/"):
        return float(cell[2:])
    return float(cell.rstrip("″°"))


def near(cell, expected, decimals, what):
    """The cell shows `expected` rounded to `decimals` (a little slack for ties)."""
    try:
        value = number(cell)
    except ValueError:
        return check(False, f"{what}: {cell!r} is no number")
    return check(abs(value - expected) <= 0.5 * 10 ** -decimals + 1e-9 * max(1, abs(expected)),
                 f"{what}: {cell} against {expected}")


class Tables(html.parser.HTMLParser):
    """Sections, tables (caption, header, rows, flagged rows) and well-formedness."""

    VOID = {"meta", "br", "img", "hr", "link", "col", "path", "circle", "line", "rect", "polygon",
            "ellipse", "polyline", "stop", "use"}

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.stack, self.headings, self.tables, self.doctype, self.svgs = [], [], {}, None, 0
        self.text, self.table, self.row, self.in_caption = None, None, None, False
        self.title = ""
        self.tags = set()

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        self.tags.add(tag)
        if tag not in self.VOID:
            self.stack.append(tag)
        attrs = dict(attrs)
        if tag == "html":
            self.lang = attrs.get("lang")
        if tag == "svg":
            self.svgs += 1
        if tag == "table":
            self.table = {"caption": "", "header": [], "rows": [], "flagged": []}
        if tag == "caption":
            self.in_caption = True
        if tag == "tr" and self.table is not None:
            self.row = []
            self.row_flagged = "flagged" in (attrs.get("class") or "").split()
        if tag in ("td", "th", "h1", "h2", "title"):
            self.text = ""

    def handle_startendtag(self, tag, attrs):
        self.tags.add(tag)
        if tag == "svg":
            self.svgs += 1

    def handle_endtag(self, tag):
        if tag not in self.VOID:
            check(self.stack and self.stack[-1] == tag, f"HTML: </{tag}> closes {self.stack[-1:]}")
            if self.stack and self.stack[-1] == tag:
                self.stack.pop()
        if tag == "h2":
            self.headings.append(self.text.strip())
        if tag == "title":
            self.title = self.text.strip()
        if tag in ("td", "th") and self.row is not None:
            self.row.append(self.text.strip())
        if tag in ("td", "th", "h2", "title"):
            self.text = None
        if tag == "caption":
            self.in_caption = False
        if tag == "tr" and self.table is not None:
            if not self.table["header"]:
                self.table["header"] = self.row
            else:
                self.table["rows"].append(self.row)
                self.table["flagged"].append(self.row_flagged)
            self.row = None
        if tag == "table":
            self.tables[self.table["caption"].strip()] = self.table
            self.table = None

    def handle_data(self, data):
        if self.text is not None:
            self.text += data
        if self.in_caption and self.table is not None:
            self.table["caption"] += data


def column(table, heading):
    """The index of the column whose heading starts with `heading`."""
    for i, h in enumerate(table["header"]):
        if h.startswith(heading):
            return i
    raise KeyError(f"{table['caption']}: no column {heading} in {table['header']}")


def rows_by_first(table):
    return {row[0]: row for row in table["rows"]}


def observation_name(o):
    return {"orientation": "Q1", "angle": f"B({o['index']})", "side": f"S({o['index']})"}[o["kind"]]


def check_tables_against_json(tables, j, where, design=False):
    """The tables a job and a design share, and those only a job has."""
    points = rows_by_first(tables["点位精度"])
    for p in j["points"]:
        row = points[p["id"]]
        t = tables["点位精度"]
        near(row[column(t, "x")], p["x"], 4, f"{where} x of {p['id']}")
        near(row[column(t, "y")], p["y"], 4, f"{where} y of {p['id']}")
        if "sp_mm" in p:
            near(row[column(t, "mx")], p["sx_mm"], 2, f"{where} mx of {p['id']}")
            near(row[column(t, "点位中误差")], p["sp_mm"], 2, f"{where} point error of {p['id']}")
            near(row[column(t, "长半轴")], p["ellipse"]["a_mm"], 2, f"{where} a of {p['id']}")
            near(row[column(t, "长轴方位")], p["ellipse"]["azimuth_deg"], 2, f"{where} ellipse azimuth of {p['id']}")
    sides = rows_by_first(tables["边长与方位"])
    t = tables["边长与方位"]
    for s in j["sides"]:
        row = sides[f"S({s['index']})"]
        near(row[column(t, "平差边长")], s["adjusted_m"], 4, f"{where} S({s['index']})")
        near(row[column(t, "边长中误差")], s["sigma_mm"], 2, f"{where} sigma of S({s['index']})")
        near(row[column(t, "相对中误差")], 1 / s["relative_error"], 0, f"{where} 1/N of S({s['index']})")
        near(row[column(t, "方位角中误差")], s["azimuth_sigma_arcsec"], 2, f"{where} azimuth sigma")
    weakest = [r[0] for r, f in zip(t["rows"], t["flagged"]) if f]
    check(weakest == [f"S({j['weakest_side']['index']})"], f"{where}: weakest side marked {weakest}")
    t = tables["点间精度"]
    pairs = rows_by_first(t)
    check(len(pairs) == len(j["relative_ellipses"]), f"{where}: relative ellipses")
    for e in j["relative_ellipses"]:
        row = pairs[f"{e['from']}-{e['to']}"]
        near(row[column(t, "长半轴")], e["a_mm"], 2, f"{where} relative a")
        near(row[column(t, "点间中误差")], e["mean_error_mm"], 2, f"{where} relative mean error")
    t = tables["观测值"]
    observations = rows_by_first(t)
    check(len(observations) == len(j["observations"]), f"{where}: observations")
    for o in j["observations"]:
        name = observation_name(o)
        row = observations[name]
        near(row[column(t, "多余观测分量")], o["redundancy"], 3, f"{where} r of {name}")
        if o["mdb"] is not None:
            near(row[column(t, "可发现的最小粗差")], o["mdb"], 2, f"{where} mdb of {name}")
        if design:
            continue
        near(row[column(t, "改正数")], o["residual"], 2, f"{where} residual of {name}")
        adjusted = row[column(t, "平差值")]
        if o["kind"] == "side":
            near(adjusted, o["adjusted"], 4, f"{where} adjusted {name}")
        else:
            check(abs(number(adjusted) - o["adjusted"]) * 3600 <= 0.005 + 1e-6,
                  f"{where} adjusted {name}: {adjusted} against {o['adjusted']}")
        if o["w"] is not None:
            near(row[column(t, "w 检验")], o["w"], 2, f"{where} w of {name}")
    suspect = [r[0] for r, f in zip(t["rows"], t["flagged"]) if f and r[-1] == "可疑"]
    expected = [observation_name(j["suspect"])] if j.get("suspect") else []
    check(design or suspect == expected, f"{where}: suspect {suspect} against {expected}")
    if "checks" in j:
        t = tables["规范检核"]
        check(len(t["rows"]) == len(j["checks"]), f"{where}: class checks")
        for row, c in zip(t["rows"], j["checks"]):
            check((row[column(t, "结果")] == "通过") == c["passed"], f"{where}: check {row[0]}")


def check_job_only(tables, j, where):
    t = tables["闭合差"]
    check(len(t["rows"]) == len(j["misclosures"]), f"{where}: misclosures")
    for row, m, flagged in zip(t["rows"], j["misclosures"], t["flagged"]):
        near(row[column(t, "数值")], m["value"], 2, f"{where} {m['name']}")
        near(row[column(t, "限值")], m["limit"], 2, f"{where} limit of {m['name']}")
        check(flagged == m["exceeded"], f"{where}: {m['name']} exceeded")
    # m0 without each observation, as --json gives it; none for Q1.
    t = tables["去掉观测后的 m0"]
    without = rows_by_first(t)
    check(len(without) == len(j["observations"]), f"{where}: m0 without each")
    for o in j["observations"]:
        cell = without[observation_name(o)][column(t, "去掉后 m0")]
        if o["m0_without"] is None:
            check(cell == "-", f"{where}: m0 without {observation_name(o)} is {cell}")
        else:
            near(cell, o["m0_without"], 2, f"{where} m0 without {observation_name(o)}")
    overview = rows_by_first(tables["概况"])
    near(overview["验后单位权中误差 m0 (″)"][1], j["m0_arcsec"], 2, f"{where} m0")
    check(overview["整体检验 T = [pvv]/σ0²"][1].startswith(f"{j['global_test']['statistic']:.3f}"), f"{where} T")


def check_steps(tables, j, where):
    """The printed steps agree with each other and with the corrections of --json."""
    A, N, K, V, C = (tables[n] for n in ("条件方程", "法方程", "联系数", "改正数", "检核"))
    columns = [h.split(" ", 1)[1] for h in A["header"][1:] if h.startswith("v ")]
    q = {r[0]: float(r[1]) for r in V["rows"]}
    v = {r[0]: float(r[2]) for r in V["rows"]}
    k = {r[0][2:-1]: float(r[1].split()[0]) for r in K["rows"]}
    rows = {r[0][2:-1]: r for r in A["rows"]}
    coefficient = {c: {n: float(rows[n][1 + i]) for n in rows} for i, c in enumerate(columns)}
    w = {n: float(rows[n][1 + len(columns)]) for n in rows}
    kept = [r[0][2:-1] for r in N["rows"]]
    check(kept == ["1", "2", "3", "4", "5", "6", "8"], f"{where}: kept conditions {kept}")
    for i, a in enumerate(kept):
        for b_index, b in enumerate(kept):
            expected = sum(coefficient[c][a] * q[c] * coefficient[c][b] for c in columns)
            printed = float(N["rows"][i][1 + b_index])
            check(abs(printed - expected) <= 1e-3 * (1 + abs(expected)), f"{where}: N({a},{b}) {printed} against {expected}")
        nk = sum(float(N["rows"][i][1 + bi]) * k[b] for bi, b in enumerate(kept))
        check(abs(nk + w[a]) <= 1e-3 * (1 + abs(w[a])), f"{where}: (N k)({a}) = {nk} against -w = {-w[a]}")
    for c in columns:
        expected = q[c] * sum(coefficient[c][n] * k[n] for n in kept)
        check(abs(v[c] - expected) <= 1e-3 * (1 + abs(expected)), f"{where}: v of {c} {v[c]} against Q A^T k {expected}")
    total = {r[0]: r[4] for r in V["rows"]}
    for o in j["observations"]:
        name = observation_name(o)
        if name in total:
            near(total[name], o["residual"], 4, f"{where}: correction of {name} against --json")
    for row in C["rows"]:
        check(abs(float(row[1])) <= (1e-4 if row[0][2:-1] in kept else 1e-3), f"{where}: A v + w of {row[0]} = {row[1]}")
        check(abs(float(row[2])) <= 0.05, f"{where}: {row[0]} after the adjustment = {row[2]}")


def read_html(path, where):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    parser = Tables()
    parser.feed(text)
    parser.close()
    check(parser.doctype and parser.doctype.lower() == "doctype html", f"{where}: doctype {parser.doctype}")
    check(getattr(parser, "lang", None) == "zh-CN", f"{where}: lang")
    check(not parser.stack, f"{where}: elements left open {parser.stack}")
    check(parser.svgs == 1, f"{where}: the drawing inline")
    check("@page" in text and "A4" in text, f"{where}: print style sheet for A4")
    check("<script" not in text and "http://" not in text.replace("http://www.w3.org/2000/svg", ""),
          f"{where}: self-contained")
    return parser


ODF = {"table": "urn:oasis:names:tc:opendocument:xmlns:table:1.0",
       "text": "urn:oasis:names:tc:opendocument:xmlns:text:1.0",
       "style": "urn:oasis:names:tc:opendocument:xmlns:style:1.0",
       "fo": "urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0",
       "office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0"}


def q(name):
    prefix, local = name.split(":")
    return f"{{{ODF[prefix]}}}{local}"


def odt_tables(path, where):
    with zipfile.ZipFile(path) as z:
        first = z.infolist()[0]
        check(first.filename == "mimetype" and first.compress_type == zipfile.ZIP_STORED
              and z.read("mimetype") == b"application/vnd.oasis.opendocument.text", f"{where}: ODT mimetype first")
        check(z.testzip() is None, f"{where}: ODT entries whole")
        check(any(n.startswith("Pictures/") for n in z.namelist()), f"{where}: the drawing as a picture")
        root = ET.fromstring(z.read("content.xml"))
        ET.fromstring(z.read("META-INF/manifest.xml"))
    tables = []
    for t in root.iter(q("table:table")):
        rows = []
        for r in t.iter(q("table:table-row")):
            rows.append(["".join(cell.itertext()).strip() for cell in r.iter(q("table:table-cell"))])
        tables.append(rows)
    return tables


def check_hostile_names(work):
    """Names a person may type that mean something to a writer or a reader:
    markup, a spreadsheet formula, the CSV's separators, a very long name,
    CJK.  Every document stays valid, and each name comes back as its text,
    never as an element or a formula."""
    names = ["<b>&\"'", '=HYPERLINK("x","y")', ",;", "东岗" * 150 + "山"]
    with open(os.path.join(EXAMPLES, "known-d.txt"), encoding="utf-8") as f:
        lines = f.read().split("\n")
    lines[5:9] = names
    job = os.path.join(work, "hostile.txt")
    with open(job, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))
    where = "hostile names"
    j = json.loads(run("--json", "--class", "一级", job).stdout)
    check([p["name"] for p in j["points"]] == names, f"{where}: --json names {[p['name'] for p in j['points']]}")

    html_path = os.path.join(work, "hostile.html")
    r = run("--html", html_path, "--class", "一级", "--steps", job)
    check(r.returncode == 0, f"{where}: --html {r.stderr}")
    parser = read_html(html_path, where)
    check("b" not in parser.tags and "a" not in parser.tags, f"{where}: an element from a name {parser.tags}")
    results = parser.tables["成果表"]
    shown = [row[column(results, "点名")] for row in results["rows"]]
    check(shown == names, f"{where}: HTML names {shown}")
    check_tables_against_json(parser.tables, j, where)
    with open(html_path, encoding="utf-8") as f:
        svg = f.read()
    svg = svg[svg.index("<svg"):svg.index("</svg>") + len("</svg>")]
    try:
        drawn = ["".join(t.itertext()) for t in ET.fromstring(svg).iter("{http://www.w3.org/2000/svg}text")]
        check(all(any(n in d for d in drawn) for n in names), f"{where}: names drawn {drawn}")
    except ET.ParseError as e:
        check(False, f"{where}: the drawing is no well-formed XML: {e}")

    csv_path = os.path.join(work, "hostile.csv")
    r = run("--csv", csv_path, "--class", "一级", job)
    check(r.returncode == 0, f"{where}: --csv {r.stderr}")
    with open(csv_path, encoding="utf-8-sig", newline="") as f:
        records = list(csv.reader(f))
    width = None
    for record in records:
        if record[0] == "表":
            width = len(record)
        check(len(record) == width, f"{where}: CSV record of {len(record)} fields under {width}: {record}")
        check(not any(c[:1] in ("=", "@") for c in record), f"{where}: a CSV cell that is a formula: {record}")
    csv_names = [r[1] for r in records if r[0] == "成果表"]
    guarded = [n if n[0] not in "=+-@" else "'" + n for n in names]
    check(csv_names == guarded, f"{where}: CSV names {csv_names}")
    figures = [c for r in records if r[0] not in ("表", "成果表", "点位精度") for c in r[1:] if c.startswith("'")]
    check(not figures, f"{where}: CSV figures written as text {figures[:5]}")
    check(any(float(r[3]) < 0 for r in records if r[0] == "观测值" and r[3][:1] == "-"),
          f"{where}: the negative corrections stay numbers")

    odt_path = os.path.join(work, "hostile.odt")
    r = run("--odt", odt_path, "--class", "一级", job)
    check(r.returncode == 0, f"{where}: --odt {r.stderr}")
    tables = odt_tables(odt_path, where)
    odt_names = [row[0] for t in tables if t and t[0][:2] == results["header"][:2] for row in t[1:]]
    check(odt_names == names, f"{where}: ODT names {odt_names}")


def cm(length):
    m = re.fullmatch(r"([\d.]+)(cm|mm|in|pt)", length)
    return float(m[1]) * {"cm": 1, "mm": 0.1, "in": 2.54, "pt": 2.54 / 72}[m[2]]


def check_odt_layout(path, where, title, sections):
    """What LibreOffice shows: the title and the sections as headings in the
    outline, their Chinese as large and bold as their Latin in a named CJK
    face; every table within the text width of its page, each column wide
    enough for its longest figure (a digit is at least half an em in any
    Song face), so that no number wraps."""
    with zipfile.ZipFile(path) as z:
        content = ET.fromstring(z.read("content.xml"))
        styles = ET.fromstring(z.read("styles.xml"))
    by_name = {}
    for root in (styles, content):
        for s in root.iter(q("style:style")):
            by_name[(s.get(q("style:family")), s.get(q("style:name")))] = s
    default = next(d for d in styles.iter(q("style:default-style")) if d.get(q("style:family")) == "paragraph")

    def text_property(family, name, attribute):
        while name:
            s = by_name.get((family, name))
            if s is None:
                break
            props = s.find(q("style:text-properties"))
            if props is not None and props.get(q(attribute)) is not None:
                return props.get(q(attribute))
            name = s.get(q("style:parent-style-name"))
        props = default.find(q("style:text-properties"))
        return props.get(q(attribute)) if props is not None else None

    faces = {f.get(q("style:name")) for f in styles.iter(q("style:font-face"))}
    body_size = cm(text_property("paragraph", "Text_20_body", "fo:font-size"))
    headings = []
    for h in content.iter(q("text:h")):
        style, text = h.get(q("text:style-name")), "".join(h.itertext())
        headings.append((h.get(q("text:outline-level")), text))
        size = text_property("paragraph", style, "fo:font-size")
        check(size is not None and text_property("paragraph", style, "style:font-size-asian") == size
              and cm(size) > body_size, f"{where}: heading {text}: Chinese size {size}")
        check(text_property("paragraph", style, "fo:font-weight") == "bold"
              and text_property("paragraph", style, "style:font-weight-asian") == "bold",
              f"{where}: heading {text} bold in both scripts")
        check(text_property("paragraph", style, "style:font-name-asian") in faces,
              f"{where}: heading {text} in a named CJK face")
    check(headings == [("1", title)] + [("2", s) for s in sections], f"{where}: ODT headings {headings}")

    # The pages: each master page's text width; a heading's style may start another.
    layouts = {}
    for p in styles.iter(q("style:page-layout")):
        props = p.find(q("style:page-layout-properties"))
        layouts[p.get(q("style:name"))] = cm(props.get(q("fo:page-width"))) - cm(
            props.get(q("fo:margin-left"))) - cm(props.get(q("fo:margin-right")))
    masters = {m.get(q("style:name")): layouts[m.get(q("style:page-layout-name"))]
               for m in styles.iter(q("style:master-page"))}
    text_width = masters["Standard"]
    widest = 0
    for element in content.find(q("office:body")).find(q("office:text")):
        style = by_name.get(("paragraph", element.get(q("text:style-name"))))
        if style is not None and style.get(q("style:master-page-name")):
            text_width = masters[style.get(q("style:master-page-name"))]
        if element.tag != q("table:table"):
            continue
        name = element.get(q("table:name"))
        widths = [cm(by_name[("table-column", c.get(q("table:style-name")))]
                     .find(q("style:table-column-properties")).get(q("style:column-width")))
                  for c in element.iter(q("table:table-column"))]
        widest = max(widest, sum(widths))
        # Each width is written to 0.001 cm.
        check(sum(widths) <= text_width + 0.001 * len(widths), f"{where}: {name} {sum(widths):.2f} cm on a page {text_width} cm wide")
        for row in element.iter(q("table:table-row")):
            for k, cell in enumerate(row.iter(q("table:table-cell"))):
                p = cell.find(q("text:p"))
                value = "".join(p.itertext())
                if k >= len(widths) or not re.fullmatch(r"-?[\d./°′″]*\d[\d./°′″]*", value):
                    continue
                em = cm(text_property("paragraph", p.get(q("text:style-name")), "fo:font-size"))
                check(len(value) * 0.5 * em <= widths[k], f"{where}: {name}: {value} in {widths[k]:.2f} cm")
    return widest


def main():
    work = tempfile.mkdtemp(prefix="korvanet-report-")
    for job in ("known-d", "free-d"):
        path = os.path.join(EXAMPLES, job + ".txt")
        j = json.loads(run("--json", "--class", "一级", path).stdout)
        html_path = os.path.join(work, job + ".html")
        r = run("--html", html_path, "--class", "一级", "--steps", path)
        check(r.returncode == 0 and "报告已写入" in r.stderr, f"{job}: --html {r.returncode} {r.stderr}")
        parser = read_html(html_path, job)
        check(parser.title == "平差报告", f"{job}: title {parser.title}")
        check(parser.headings == ["概况", "闭合差", "观测值", "粗差探测与方差分量", "点位精度", "边长与方位",
                                  "点间精度", "规范检核",
                                  "计算过程", "图", "成果表"], f"{job}: sections {parser.headings}")
        check_tables_against_json(parser.tables, j, job)
        check_job_only(parser.tables, j, job)
        check_steps(parser.tables, j, job)

        csv_path = os.path.join(work, job + ".csv")
        r = run("--csv", csv_path, "--class", "一级", path)
        check(r.returncode == 0, f"{job}: --csv {r.stderr}")
        with open(csv_path, "rb") as f:
            raw = f.read()
        check(raw.startswith(b"\xef\xbb\xbf"), f"{job}: CSV byte order mark")
        lines = list(csv.reader(io.StringIO(raw.decode("utf-8-sig"), newline="")))
        from_csv, header = {}, None
        for line in lines:
            if line and line[0] == "表":
                header = line[1:]
            elif line:
                from_csv.setdefault(line[0], {"caption": line[0], "header": header, "rows": [], "flagged": []})
                from_csv[line[0]]["rows"].append(line[1:])
                from_csv[line[0]]["flagged"].append(False)
        check("计算过程" not in raw.decode("utf-8-sig") and "法方程" not in from_csv, f"{job}: CSV without --steps")
        for name in ("点位精度", "边长与方位", "点间精度", "观测值", "闭合差"):
            check(from_csv.get(name, {}).get("rows") == parser.tables[name]["rows"], f"{job}: CSV table {name}")

        odt_path = os.path.join(work, job + ".odt")
        r = run("--odt", odt_path, "--class", "一级", "--steps", path)
        check(r.returncode == 0 and "报告已写入" in r.stderr, f"{job}: --odt {r.returncode} {r.stderr}")
        tables = odt_tables(odt_path, job)
        # The same tables in the same order as the HTML, cell for cell.
        expected = [[t["header"]] + t["rows"] for t in parser.tables.values()]
        def squeeze(ts):
            return [[[re.sub(r"\s+", " ", c) for c in row] for row in t] for t in ts]
        check(squeeze(tables) == squeeze(expected), f"{job}: ODT tables differ from the HTML tables")
        # The condition equations are wider than A4 upright: their section goes on its side.
        widest = check_odt_layout(odt_path, job, "平差报告", parser.headings)
        check(widest > 17, f"{job}: the widest table {widest:.2f} cm, set on its side")

    # A design: its own sections, its figures as --design --json gives them.
    design = os.path.join(EXAMPLES, "known-d.design")
    j = json.loads(run("--design", "--json", design).stdout)
    html_path = os.path.join(work, "design.html")
    r = run("--design", "--html", html_path, design)
    check(r.returncode == 0, f"design --html {r.stderr}")
    parser = read_html(html_path, "design")
    check("精度估算" in parser.title, f"design title {parser.title}")
    check(parser.headings == ["概况", "观测值", "点位精度", "边长与方位", "点间精度", "图", "成果表"],
          f"design sections {parser.headings}")
    check_tables_against_json(parser.tables, j, "design", design=True)
    odt_path = os.path.join(work, "design.odt")
    r = run("--design", "--odt", odt_path, design)
    check(r.returncode == 0 and len(odt_tables(odt_path, "design")) == 6, f"design --odt {r.stderr}")
    check_odt_layout(odt_path, "design", parser.title, parser.headings)

    check_hostile_names(work)

    # What must fail says so, and leaves nothing that passes for a report.
    missing = os.path.join(work, "no-such-folder", "x.html")
    r = run("--html", missing, os.path.join(EXAMPLES, "known-d.txt"))
    check(r.returncode == 1 and "无法保存报告" in r.stderr and not os.path.exists(missing),
          f"unwritable --html: {r.returncode} {r.stderr}")
    bad = os.path.join(work, "bad.txt")
    with open(bad, "w", encoding="utf-8") as f:
        f.write("2\n0\n0\n")
    out = os.path.join(work, "bad.odt")
    r = run("--odt", out, bad)
    check(r.returncode == 1 and not os.path.exists(out), f"failed job --odt: {r.returncode}")
    r = run("--json", "--steps", os.path.join(EXAMPLES, "known-d.txt"))
    check(r.returncode == 2 and "--steps" in r.stderr, f"--steps with --json: {r.returncode}")

    for f in failures:
        print("FAIL:", f)
    print(f"{checked} checks, {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
