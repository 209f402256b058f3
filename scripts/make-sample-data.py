#!/usr/bin/env python3
"""Writes the invented sample reference files of data/sample.

Two sets, each under the names the program reads (RUdoz.txt, QJar.txt, QJcfm.txt,
QJlook.txt, QJreg.txt):

- data/sample: the plain set, Windows-1251 with CR LF. Callbook lines "CALL CODE",
  confirmations "CODE;CALL;BAND;MODE;DATE", the district list "CODE<TAB>description"
  under region headers "NAME (SHORT)<TAB>(XX)<TAB>area". The demo and the window
  tests rely on it as it is.
- data/sample/real: the files in the shapes they come in today. The callbook holds
  dated lines "CALL <FROM, TO> CODE" beside plain ones, in any order, past, current
  and future ranges, open ends and a malformed range; R1EXP has an expired dated
  line before its plain line, R2TWO two districts valid today, R3OLD a deleted
  district whose successor is judged, R5GONE only expired lines, R6BAD a range on a
  day that does not exist. The confirmations are the service's QSO export (UTF-8
  with a byte order mark, CSV with quoted fields and a header). The district list
  is the award's (LF): headers indented by a tab or by blanks with the letters set
  off by blanks, deleted districts naming their successor or "***", and one region
  (CK) whose districts are all deleted.

Run again to regenerate them; the output is the same every time (fixed seeds).
"""
import os
import random

PREFIXES = """AD AL AM AR BA BO BR BU CB CK CN CU DA EA GA HA HK HM IN IR IV KA KB KC KE KG KI
KK KL KM KN KO KR KS KT KU LO LP MA MD MG MO MR MU NN NO NS NV OB OM OR PE PK PM PS RA RK
RO SA SE SL SM SO SP SR ST SV TA TB TL TN TO TU TV UD UL VG VL VO VR YA YN YR ZK""".split()

# Invented region names for the header lines the award's list puts before each
# region's districts: "NAME (SHORT)<TAB>(XX)<TAB>call area".
REGION_STEMS = ["ОЗЁР", "БЕРЁЗОВ", "СОСНОВ", "КАМЕН", "ЛУГОВ", "ДУБРОВ", "ЗАРЕЧ", "ПЕРВОМАЙ", "КРАСНОБОР",
                "НОВОСЁЛ", "ПОЛЯР", "СТЕПНОВ", "РЕЧНОВ", "ГОРНОВ", "ЛЕСНОВ", "ЯСНОГОР", "СВЕТЛОЯР", "БЕЛОЗЁР",
                "ЧЕРНОЛЕС", "ТИХОРЕЧ", "ВЫСОКОГОР", "КРУТОЯР", "ЗЕЛЕНОДОЛ", "СЕВЕРОЗЁР", "ЮЖНОБОР",
                "ЗАПАДНОДОЛ", "ВОСТОЧНОЛУГ", "СРЕДНЕРЕЧ", "ВЕРХНЕБОР", "НИЖНЕЛУГ"]


def region_header(index, prefix):
    stem = REGION_STEMS[index % len(REGION_STEMS)]
    kind = index // len(REGION_STEMS) % 3
    name = [f"{stem}СКАЯ ОБЛАСТЬ ({stem}СК)", f"{stem}СКИЙ КРАЙ ({stem}СК)", f"РЕСПУБЛИКА {stem}ИЯ ({stem}ИЯ)"][kind]
    return f"{name}\t({prefix})\tUA{index % 10}{chr(ord('A') + index % 26)}"


def with_region_headers(districts):
    """The district lines with a header line before each region's first district."""
    lines, current = [], None
    for line in districts:
        if line[:2] != current:
            current = line[:2]
            lines.append(region_header(PREFIXES.index(current), current))
        lines.append(line)
    return lines


PLACES = ["Ozersk", "Lesnoy", "Gorny", "Rechnoy", "Stepnoy", "Polyarny", "Sosnovka", "Beryozovo",
          "Kamensk", "Krasny Bor", "Novoselki", "Zarechye", "Pervomaysk", "Dubrava", "Lugovoy"]
PLACES_RU = ["Озёрский район", "Лесной район", "Горный район", "Речной район", "Степной район",
             "Полярный район", "Сосновский район", "Берёзовский район", "Каменский район"]


def write(path, lines):
    with open(path, "wb") as f:
        for line in lines:
            f.write(line.encode("cp1251") + b"\r\n")


def write_regions_page(path, regions, names):
    """The Most Wanted page as the confirmation service serves it (LF line ends)."""
    out = ["<html><head><title>RDA Most Wanted</title></head><body>", "<table>",
           "<tr><th>RDA</th><th>District</th><th>Last QSO</th><th>MW</th></tr>"]
    for line in regions:
        code4 = line[:2] + line[3:5]
        if "LastQso" in line:
            date, percent = line[6:13], line[22:-3]
            out += ["<tr>", f'<td><a class="ired" href="rda?id={code4}">{code4}</a></td>',
                    f"<td>{names.get(line[:5], '')}</td>", f'<td align="right">{date}</td>',
                    f'<td align="right">{percent}</td>', "</tr>"]
        else:
            out += ["<tr>", f"<td>{code4}</td>", '<td align="right">-</td>', '<td align="right">-</td>', "</tr>"]
    out += ["</table>", "</body></html>"]
    with open(path, "wb") as f:
        f.write("\n".join(out).encode("cp1251") + b"\n")
    # A page that yields no region line at all: tags, blanks and empty lines only.
    with open(os.path.join(os.path.dirname(path), "regions-empty.html"), "wb") as f:
        f.write(b"<html><body>\n <p>No data today</p>\n\n<table>\n</table>\n</body></html>\n")


def write_maps(folder):
    """Invented region maps (JPEG, made with ImageMagick), and one picture whose
    header claims 60000 x 60000 pixels."""
    import subprocess
    os.makedirs(folder, exist_ok=True)
    maps = {"3d": (600, 400, "#d8e8c8", "#4060a0"), "0u": (480, 360, "#e8e0c8", "#a04040"),
            "6y": (520, 380, "#c8d8e8", "#408040"), "1o": (400, 300, "#e0e0e0", "#806020")}
    for code, (w, h, land, region) in maps.items():
        subprocess.run(["convert", "-size", f"{w}x{h}", f"xc:{land}", "-fill", region, "-stroke", "black",
                        "-draw", f"ellipse {w // 2},{h // 2} {w // 3},{h // 4} 0,360", "-strip", "-quality", "80",
                        os.path.join(folder, f"{code}.jpg")], check=True)
    small = subprocess.run(["convert", "-size", "16x16", "xc:white", "-strip", "jpg:-"], check=True,
                           capture_output=True).stdout
    sof = next(i for i in range(2, len(small) - 9) if small[i] == 0xFF and small[i + 1] in (0xC0, 0xC2))
    huge = bytearray(small)
    huge[sof + 5:sof + 9] = (60000).to_bytes(2, "big") * 2
    with open(os.path.join(folder, "huge.jpg"), "wb") as f:
        f.write(huge)


def main():
    rng = random.Random(1251)
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "data", "sample")
    os.makedirs(here, exist_ok=True)

    # District list: about 2,700 codes over the region prefixes, some deleted, each
    # region under its header line.
    districts, codes = [], []
    per_prefix = 2700 // len(PREFIXES) + 1
    for prefix in PREFIXES:
        for n in range(1, per_prefix + 1):
            code = f"{prefix}-{n:02d}"
            if rng.random() < 0.45:
                name = rng.choice(PLACES_RU) + f" {n}"
            else:
                name = f"{rng.choice(PLACES)} district {n}"
            if rng.random() < 0.03:
                name += " (deleted)"
            else:
                codes.append(code)
            districts.append(f"{code}\t{name}")
    # The list holds every district made, so that it knows every confirmed one; the
    # callbook draws from the first 2,700, as it always has.
    write(os.path.join(here, "QJar.txt"), with_region_headers(districts))
    listed = len(districts)
    districts = districts[:2700]

    # The operator's confirmations, as the confirmation service exports them.
    confirmed = sorted(rng.sample(codes, 300))
    cfm = []
    for code in confirmed:
        for _ in range(rng.choice([1, 1, 1, 2, 3])):
            call = f"R{rng.randint(0, 9)}{rng.choice('ABCDEFGHIJKLMNOPQRSTUVWXYZ')}{rng.choice('ABCDEFGHIJKLMNOPQRSTUVWXYZ')}"
            band = rng.choice(["160", "80", "40", "30", "20", "17", "15", "12", "10"])
            mode = rng.choice(["CW", "SSB", "RTTY", "FT8"])
            cfm.append(f"{code};{call};{band};{mode};{rng.randint(2005, 2026)}-{rng.randint(1, 12):02d}-{rng.randint(1, 28):02d}")
    rng.shuffle(cfm)
    write(os.path.join(here, "QJcfm.txt"), cfm)

    # Callbook: stations and their districts, in no order, with a few repeats.
    book, seen = [], set()
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    while len(book) < 3000:
        prefix = rng.choice(["R", "UA", "RA", "RK", "RN", "RW", "RZ", "UB", "UC", "UD", "UI"])
        call = f"{prefix}{rng.randint(0, 9)}{''.join(rng.choice(letters) for _ in range(rng.choice([2, 3])))}"
        if call in seen:
            continue
        seen.add(call)
        book.append(f"{call} {rng.choice(districts)[:5]}")
    # Fixed stations the demo and the tests rely on.
    new_code = next(c for c in codes if c not in confirmed)
    book[:0] = [f"UA1ABC {confirmed[0]}", f"UA1ABCD {new_code}", f"R3DEMO {new_code}", f"RK9DEMO {confirmed[1]}"]
    write(os.path.join(here, "RUdoz.txt"), book)

    write(os.path.join(here, "QJlook.txt"), ["R1FJ", "UA9X", "rk0", "RI1ANC"])

    # Region list, as the Most Wanted download leaves it: code, last-contact date,
    # percentage (at most 4 characters), or the never-activated text; sorted without
    # regard to case. The districts the demo spots name get one colour each: R3DEMO's
    # pink (below 15), then yellow (15-29), light green (30-49) and none (50 and up).
    # A generator of its own keeps the other files as they were.
    reg = random.Random(1253)
    unconfirmed = [c for c in codes if c not in confirmed]
    fixed = {new_code: "3.55", unconfirmed[1]: "22.5", unconfirmed[2]: "41", unconfirmed[3]: "75"}
    regions = []
    for code in codes:
        if code in fixed:
            percent = fixed[code]
        elif reg.random() < 0.05:
            regions.append(f"{code} - Не ступала покрышка А/М!")
            continue
        else:
            value = reg.uniform(0, 99)
            percent = f"{value:.2f}" if value < 10 else f"{value:.1f}"
        regions.append(f"{code} {reg.randint(1, 12):02d}.{reg.randint(2005, 2026)}-LastQso {percent}%MW")
    regions.sort(key=str.upper)
    write(os.path.join(here, "QJreg.txt"), regions)
    write_regions_page(os.path.join(here, "regions.html"), regions, dict(d.split("\t", 1) for d in districts))
    write_maps(os.path.join(here, "map"))

    print(f"wrote {listed} districts, {len(cfm)} confirmations of {len(confirmed)} districts, "
          f"{len(book)} callbook lines, {len(regions)} region lines; UA1ABC is confirmed ({confirmed[0]}), "
          f"R3DEMO is new ({new_code}); Most Wanted: " + ", ".join(f"{c} {p}" for c, p in fixed.items()))
    write_real_set(os.path.join(here, "real"))


MONTHS = "Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec".split()
BANDS = ["1.8", "3.5", "7", "10", "14", "18", "21", "24", "28", "50", "144"]


def real_region_header(index, prefix):
    """The three shapes of header line the award's list holds."""
    stem = REGION_STEMS[index % len(REGION_STEMS)]
    area = f"UA{index % 10}{chr(ord('A') + index % 26)}"
    if index % 3 == 0:
        return f"\t{stem}СКАЯ ОБЛАСТЬ   ({prefix})   {area}"
    if index % 3 == 1:
        return f"   {stem}СКИЙ КРАЙ   ({prefix})\t{area}"
    return f"РЕСПУБЛИКА {stem}ИЯ ({stem}ИЯ)\t({prefix})\t{area}"


def real_district_list(rng, regions, retired):
    """The list's lines, the active codes, and each deleted code with its successor
    (None for "***")."""
    lines = ["RDA districts list (invented sample)", "Deleted districts name their successor; *** for none.", ""]
    active, deleted = [], {}
    for index, prefix in enumerate(regions):
        lines.append(real_region_header(index, prefix))
        ours = []
        for k in range(1, rng.randint(8, 20) + 1):
            code = f"{prefix}-{k:02d}"
            name = f"{rng.choice(PLACES_RU)} {k}"
            if prefix == retired:  # merged into the next region
                successor = f"{regions[index + 1]}-{rng.randint(1, 5):02d}" if k % 4 else None
            elif index == 0 and k in (3, 4):  # a chain: 03 -> 04 -> 01
                successor = f"{prefix}-04" if k == 3 else f"{prefix}-01"
            elif ours and rng.random() < 0.06:
                successor = rng.choice(ours + [None])
            else:
                lines.append(f"{code}\t{name}")
                ours.append(code)
                continue
            deleted[code] = successor
            lines.append(f"{code}\t{name}\tdeleted\t\t{successor or '***'}")
        active += ours
    return lines, active, deleted


def real_date(rng):
    return f"{rng.randint(1, 28):02d} {rng.choice(MONTHS)} {rng.randint(2005, 2026)}"


def write_real_set(folder):
    rng = random.Random(1257)
    os.makedirs(folder, exist_ok=True)
    regions, retired = PREFIXES[:24], "CK"
    lines, active, deleted = real_district_list(rng, regions, retired)
    with open(os.path.join(folder, "QJar.txt"), "wb") as f:
        f.write("\n".join(lines).encode("cp1251") + b"\n")

    # The stations the demo spots, and what each shows.
    picks = rng.sample(active, 8)
    confirmed_old, new_exp, confirmed_two, new_two = picks[:4]
    old_code = f"{regions[0]}-03"  # deleted: its successor is deleted too, whose successor is judged
    judged = deleted[deleted[old_code]]
    fixed = [f"R1EXP <2005-01-01, 2012-12-31> {confirmed_old}", f"R1EXP {new_exp}",
             f"R2TWO {confirmed_two}", f"R2TWO <2021-06-01, > {new_two}",
             f"R3OLD {old_code}",
             f"R4NEW <2045-01-01, > {picks[4]}", f"R4NEW {picks[5]}",
             f"R5GONE <, 2010-06-30> {picks[6]}", f"R5GONE <2010-07-01,2015-12-31> {picks[7]}",
             f"R6BAD <2023-02-29, > {picks[4]}", f"R6BAD {picks[5]}",
             f"EK1SK <1991-01-01, 1992-01-31> {picks[6]}", f"EK1SK {picks[7]}", f"EK1SK < 2024-03-01 , > {picks[0]}"]

    # Callbook: stations in no order, some with their history in dated lines.
    book, seen, letters = [], set(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    while len(book) < 2000:
        call = f"{rng.choice(['R', 'UA', 'RA', 'RK', 'RW', 'UB'])}{rng.randint(0, 9)}" + \
               "".join(rng.choice(letters) for _ in range(rng.choice([2, 3])))
        if call in seen or call in {"R1EXP", "R2TWO", "R3OLD", "R4NEW", "R5GONE", "R6BAD", "EK1SK"}:
            continue
        seen.add(call)
        history = []
        if rng.random() < 0.1:
            start = rng.randint(1995, 2015)
            history.append(f"{call} <{start}-01-01, {start + rng.randint(0, 5)}-12-31> {rng.choice(active)}")
        if rng.random() < 0.03:
            history.append(f"{call} <{rng.randint(2016, 2024)}-{rng.randint(1, 12):02d}-01, > {rng.choice(active)}")
        plain = f"{call} {rng.choice(active)}"
        book += history + [plain] if rng.random() < 0.5 else [plain] + history
    for i, line in enumerate(fixed):  # spread over the file, in their order
        book.insert(40 + i * 97, line)
    write(os.path.join(folder, "RUdoz.txt"), book)

    # Confirmations: the service's QSO export.
    confirmed = sorted(set(rng.sample(active, 150)) - {new_exp, new_two, judged, picks[5]}
                       | {confirmed_old, confirmed_two}
                       | set(rng.sample(sorted(set(deleted) - {old_code, deleted[old_code]}), 6)))
    rows = []
    for code in confirmed:
        for _ in range(rng.choice([1, 1, 2, 3])):
            call = f"R{rng.randint(0, 9)}{rng.choice(letters)}{rng.choice(letters)}"
            rows.append(",".join(f'"{v}"' for v in [code, real_date(rng), f"{rng.randint(0, 23):02d}:{rng.randint(0, 59):02d}",
                                                      rng.choice(BANDS), rng.choice(["CW", "SSB", "FT8", "RTTY", "FM"]),
                                                      call, call, "Hunter", real_date(rng)]))
    rng.shuffle(rows)
    header = '"RDA","Date","Time","Band","Mode","Correspondent","Uploader","Role","DB date"'
    with open(os.path.join(folder, "QJcfm.txt"), "wb") as f:
        f.write(b"\xef\xbb\xbf" + "\r\n".join([header] + rows).encode("utf-8") + b"\r\n")

    write(os.path.join(folder, "QJlook.txt"), ["R1FJ", "UA9X", "rk0", "RI1ANC"])
    regions_list = []
    for code in active:
        if rng.random() < 0.05:
            regions_list.append(f"{code} - Не ступала покрышка А/М!")
        else:
            value = rng.uniform(0, 99)
            percent = f"{value:.2f}" if value < 10 else f"{value:.1f}"
            regions_list.append(f"{code} {rng.randint(1, 12):02d}.{rng.randint(2005, 2026)}-LastQso {percent}%MW")
    regions_list.sort(key=str.upper)
    write(os.path.join(folder, "QJreg.txt"), regions_list)
    print(f"real shapes: {len(active)} active and {len(deleted)} deleted districts, {len(book)} callbook lines, "
          f"{len(rows)} confirmations of {len(confirmed)} districts; R1EXP {new_exp} (new), "
          f"R2TWO {confirmed_two} (confirmed) and {new_two} (new), R3OLD {old_code} -> {deleted[old_code]} -> {judged} (new)")


if __name__ == "__main__":
    main()
