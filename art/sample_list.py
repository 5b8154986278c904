"""The list of people the shipped start folder comes with (data/listview.ini).

Fictional staff of the sample company on the shipped templates, as the list editor
writes a list: seventeen fields a line (template, copies, the fifteen texts), joined
by commas, CR LF after each line, UTF-16 little-endian without a byte-order mark.

    python3 art/sample_list.py      writes data/listview.ini (make_art.py does too)
"""

import os

COMPANY = "株式会社ビビブズ企画"
ADDRESS = "〒100-0001 東京都千代田区千代田1-1-1"
HOME = "https://www.example.jp/"

# template, copies, department, name, telephone, e-mail
PEOPLE = [
    ("01-ビジネス.tep", 1, "営業部　第一営業課", "佐藤　健一", "03-1234-5601", "k.sato@example.jp"),
    ("01-ビジネス.tep", 2, "営業部　第二営業課", "鈴木　美咲", "03-1234-5602", "m.suzuki@example.jp"),
    ("01-ビジネス.tep", 1, "総務部　人事課", "高橋　誠", "03-1234-5603", "m.takahashi@example.jp"),
    ("02-和風縦書き.tep", 1, "代表取締役", "田中　一郎", "03-1234-5600", "i.tanaka@example.jp"),
    ("05-シンプル.tep", 1, "デザイン部　企画課", "伊藤　さくら", "03-1234-5604", "s.ito@example.jp"),
]


def listview_bytes():
    lines = []
    for template, copies, department, name, telephone, mail in PEOPLE:
        texts = [""] * 15
        texts[0], texts[1], texts[2], texts[3] = COMPANY, department, name, ADDRESS
        texts[4], texts[6], texts[9] = "TEL：" + telephone, mail, HOME
        lines.append(",".join([template, str(copies)] + texts) + "\r\n")
    return "".join(lines).encode("utf-16-le")


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    with open(os.path.join(root, "data", "listview.ini"), "wb") as f:
        f.write(listview_bytes())


if __name__ == "__main__":
    main()
