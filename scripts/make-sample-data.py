#!/usr/bin/env python3
"""Writes the invented sample reference files of data/sample (Windows-1251, CR LF).

Run again to regenerate them; the output is the same every time (fixed seed).
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


if __name__ == "__main__":
    main()
