#!/usr/bin/env python3
"""Writes examples/sample.stg and examples/player.db (Shift_JIS, CR LF).

A 24-row, 6-round tournament of 23 players in which four rounds have been
played (one bye each round, a few draws), plus a player database holding those
players and a few more. Deterministic: run it again and the bytes are the same.
"""
import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "examples")

# long name, short name, input name, grade, residence, member number
PEOPLE = [
    ("山田 太郎", "山田", "yamada", 5, "東京", "10021"),
    ("佐藤 花子", "佐藤", "sato", 3, "神奈川", "10458"),
    ("鈴木 一郎", "鈴木", "suzuki", 4, "埼玉", "11002"),
    ("高橋 健", "高橋", "takahashi", 2, "千葉", "11873"),
    ("田中 美咲", "田中", "tanaka", 1, "東京", "12090"),
    ("伊藤 翔", "伊藤", "ito", 6, "大阪", "10007"),
    ("渡辺 直樹", "渡辺", "watanabe", -1, "京都", "13345"),
    ("中村 愛", "中村", "nakamura", -3, "兵庫", "14001"),
    ("小林 大輔", "小林", "kobayashi", 2, "愛知", "12566"),
    ("加藤 さくら", "加藤", "kato", 0, "静岡", ""),
    ("吉田 拓海", "吉田", "yoshida", 3, "福岡", "10990"),
    ("山本 優子", "山本", "yamamoto", -2, "北海道", "15123"),
    ("松本 亮", "松本", "matsumoto", 7, "宮城", "10003"),
    ("井上 陽菜", "井上", "inoue", -5, "広島", "16002"),
    ("木村 誠", "木村", "kimura", 1, "新潟", "13876"),
    ("林 結衣", "林", "hayashi", 0, "長野", ""),
    ("斎藤 蓮", "斎藤", "saito", 4, "茨城", "11450"),
    ("清水 美月", "清水", "shimizu", -4, "岡山", "16780"),
    ("山口 大和", "山口", "yamaguchi", 2, "熊本", "12234"),
    ("森 悠真", "森", "mori", 3, "沖縄", "14567"),
    ("池田 彩", "池田", "ikeda", 1, "鹿児島", "15001"),
    ("橋本 湊", "橋本", "hashimoto", 0, "奈良", ""),
    ("山崎 凛", "山崎", "yamazaki", -1, "和歌山", "17002"),
    # in the database but not in this tournament
    ("石川 悠人", "石川", "ishikawa", 2, "石川", "17345"),
    ("前田 葵", "前田", "maeda", 1, "富山", "17400"),
    ("藤田 颯", "藤田", "fujita", 5, "岐阜", "10456"),
    ("岡田 芽依", "岡田", "okada", -2, "三重", "18001"),
    ("後藤 陸", "後藤", "goto", 0, "高知", ""),
    ("Smith John", "Smith", "smith", 1, "USA", "90001"),
]

ROWS, ROUNDS, PLAYED = 24, 6, 4
PLAYERS = 23


def esc(text):
    return text.replace("%", "%%").replace(",", "%c")


def main():
    rng = random.Random(20261207)
    strength = [rng.random() + (len(PEOPLE) - i) * 0.02 for i in range(PLAYERS)]
    cells = [[(-1, 0, 0, 0) for _ in range(ROUNDS)] for _ in range(ROWS)]
    points = [0] * PLAYERS
    byes = set()
    met = set()
    for rnd in range(PLAYED):
        order = sorted(range(PLAYERS), key=lambda p: (-points[p], rng.random()))
        # the bye goes to the lowest player who has not had one
        bye = next(p for p in reversed(order) if p not in byes)
        byes.add(bye)
        order.remove(bye)
        cells[bye][rnd] = (-2, 1, 0, 0)
        points[bye] += 2
        while order:
            a = order.pop(0)
            b = next((x for x in order if (min(a, x), max(a, x)) not in met), order[0])
            order.remove(b)
            met.add((min(a, b), max(a, b)))
            if rng.random() < 0.08:
                result, disc = 0, 0
            else:
                p_a = strength[a] / (strength[a] + strength[b])
                result = 1 if rng.random() < p_a else -1
                disc = result * rng.choice([2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 24, 28, 34, 40, 3, 5])
            cells[a][rnd] = (b, result, disc, 0)
            cells[b][rnd] = (a, -result, -disc, 0)
            points[a] += 1 + result
            points[b] += 1 - result
    # round 5 is paired but not played yet for two boards (entered by hand)
    cells[0][PLAYED] = (1, -2, 0, 0)
    cells[1][PLAYED] = (0, -2, 0, 0)

    lines = ["%d,%d,1,1,60" % (ROWS, ROUNDS), "##Format: 1",
             "##Tournament: 第12回 さくらオセロ大会", "##Date: 2026/11/23"]
    for r in range(ROWS):
        if r >= PLAYERS:
            lines.append("")
            continue
        long_name, short, inp, grade, res, num = PEOPLE[r]
        fields = [esc(long_name), esc(short), str(grade), esc(res), esc(inp), esc(num)]
        for c in cells[r]:
            fields.extend(str(v) for v in c)
        lines.append(",".join(fields))
    write(os.path.join(OUT, "sample.stg"), lines)

    db = []
    for long_name, short, inp, grade, res, num in PEOPLE:
        # database names are stored folded to lower case
        db.append(",".join([esc(long_name.lower()), esc(short.lower()), esc(inp), str(grade), esc(res), esc(num)]))
    write(os.path.join(OUT, "player.db"), db)


def write(path, lines):
    with open(path, "wb") as f:
        f.write("".join(l + "\r\n" for l in lines).encode("cp932"))


if __name__ == "__main__":
    main()
