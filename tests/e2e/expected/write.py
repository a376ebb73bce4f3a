#!/usr/bin/env python3
# How the expected files of tests/e2e/run.sh were written: by hand, from the file formats and the teacher's
# actions in run.sh (never captured from the program). Run it from this folder after changing the scenario.
# Text files are Windows-1252 with CR LF line ends; @WORK@, @DATE@ and @YEAR@ are filled in by run.sh.
CRLF = '\r\n'


def put(name, text, encoding='cp1252'):
    with open(name, 'wb') as f:
        f.write(text.encode(encoding))


# Class file: the header holds the widths of grid columns 1 to 31 as three upper-case hex digits each
# (column 1 is 192 = 0C0, the 30 rubric columns 32 = 020); then one record per non-empty slot, row by row
# and slot by slot: table row + 1 and slot in two upper-case hex digits each, then the text.
records = []


def record(row, slot, text):
    records.append('%02X%02X%s' % (row + 1, slot, text))


record(-1, 2, 'Dictée')
record(-1, 3, 'Oral')
record(-1, 4, 'TP')
for slot in range(5, 32):
    record(-1, slot, '%d,00' % (slot - 1))  # the default headings, shown again through the number form
record(0, 2, '2,00')
record(0, 3, '1,00')
record(0, 4, ',50')  # typed 0,5
record(1, 2, '14,50')
record(1, 3, '16')
record(1, 4, '12')
for slot, text in [(33, 'Martin'), (34, 'Léa'), (35, '12/05/2014'), (36, '6eA'), (37, '3 rue des Lilas'),
                   (39, '35000'), (40, 'Rennes'), (41, '0299000000'), (43, 'Vétérinaire'),
                   (44, 'Très bonne élève.\x0bParticipe volontiers.'),  # a line break in a remark is byte 0B
                   (45, '@WORK@/photo.jpg'), (46, 'Boulanger'), (47, 'Infirmière')]:
    record(1, slot, text)
for slot, text in [(2, '08'), (3, '11'), (4, '09'), (33, 'Petit'), (34, 'Lucas'), (40, 'Brest')]:
    record(2, slot, text)
for slot, text in [(2, '12'), (3, '13'), (4, '15'), (33, 'Bernard'), (34, 'Chloé')]:
    record(3, slot, text)
put('6A.prf', '0C0' + '020' * 30 + CRLF + ''.join(r + CRLF for r in records))

# Homework: 21 lines; rows 1 and 3 dated, the others unset (01/01/1990), entry 20 empty.
homework = ['01/01/1990'] * 20 + ['']
homework[0] = '15/03/2027Rédaction'
homework[2] = '02/04/2027Récitation'
put('6A.prd', ''.join(line + CRLF for line in homework))

# Seating plan: name, left, top, width, height of each desk.
put('6A.prc', 'Martin Léa,100,88,100,25' + CRLF + 'Bureau2,200,180,25,100' + CRLF)

# Planning: the list's first line (one space), then the twelve month lines of the year shown: the year,
# the month in hex, one character per day (the subject's digit or a space).
months = []
for month in range(1, 13):
    days = [' '] * 31
    if month == 2:
        days[1] = '1'
    if month == 3:
        days[4] = days[5] = '3'
    months.append('@YEAR@' + '%X' % month + ''.join(days))
put('6A.prp', ' ' + CRLF + ''.join(line + CRLF for line in months))

# The report over the whole class, rubrics with coefficients 2, 1 and 0,5, divided by the 3 rubrics counted:
# Martin (14,5 x 2 + 16 + 12 x 0,5) / 3 = 17; Bernard (12 x 2 + 13 + 15 x 0,5) / 3 = 14,83;
# Petit (8 x 2 + 11 + 9 x 0,5) / 3 = 10,5; the class (17 + 14,8333 + 10,5) / 3 = 14,11.
report = ['6A.\t(3 élèves)', 'Résultats au @DATE@', '',
          'Martin Léa\t\t17,00\t\t(1°)', 'Bernard Chloé\t\t14,83\t\t(2°)', 'Petit Lucas\t\t10,50\t\t(3°)', '',
          'Moyenne de la classe \t14,11', 'Moyenne la plus haute \t17,00', 'Moyenne la plus basse \t10,50', '',
          'Elèves < moy. de la classe \t1', 'Elèves >= moy. de la classe \t2', '',
          'Elèves < 10 \t\t0', 'Elèves >= 10 \t\t3', '',
          'Elèves < 8 \t\t0', 'Elèves >= 8 et < 12 \t1', 'Elèves >= 12\t\t2']
put('rapport.txt', ''.join(line + CRLF for line in report))


# The same report as RTF with its first line in bold: one paragraph per line, the editor's default font
# (Times New Roman, 10 points: \fs20) on every paragraph mark and piece of text; tabs as \tab, accented
# letters as \'hh.
def rtf_text(s):
    out = ''
    for c in s:
        if c == '\t':
            out += '\\tab '
        elif ord(c) < 128:
            out += c
        else:
            out += "\\'%02x" % c.encode('cp1252')[0]
    return out


paragraphs = []
for i, line in enumerate(report):
    p = '\\pard\\ql\\fi0\\li0\\ri0\\plain\\f0\\fs20 '
    if line:
        p += '{\\plain\\f0\\fs20' + ('\\b' if i == 0 else '') + ' ' + rtf_text(line) + '}'
    paragraphs.append(p)
put('rapport.rtf', '{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\\deftab720' + CRLF +
    '{\\fonttbl{\\f0\\fnil\\fcharset0 Times New Roman;}}' + CRLF + '\\viewkind4\\uc1' + CRLF +
    ('\\par' + CRLF).join(paragraphs) + '}' + CRLF)

# Notes: the text exactly as typed (no line end after the last line). Phrases: one per line.
notes = 'Conseil de classe le 12 mars.' + CRLF + 'Apporter les bulletins.'
put('Virelan-1.nte', notes)
put('Virelan-2.nte', notes + CRLF + 'Réunion des parents jeudi.')
put('Virelan-1.obs', 'Bon trimestre, continuez ainsi.' + CRLF)
put('Virelan-2.obs', 'Bon trimestre, continuez ainsi.' + CRLF + 'Travail irrégulier.' + CRLF)

# Printed pages: their words in the order the program draws them (UTF-8, as pdftotext gives them).
# The class sheet: rows 0 to 4 (headings, coefficients, 3 students), columns 1 to 4 (the last with a
# coefficient), the marks as typed.
sheet = ['Rubriques', 'Dictée', 'Oral', 'TP', 'Elèves', '\\', 'Coefficients', '2,00', '1,00', ',50',
         'Martin', 'Léa', '14,50', '16', '12', 'Petit', 'Lucas', '08', '11', '09',
         'Bernard', 'Chloé', '12', '13', '15']
put('feuille.words', ''.join(w + '\n' for w in sheet), 'utf-8')
# The card: the file name and the date, the labelled fields (not the parents' occupations), the remarks.
card = ['6A.prf@DATE@', 'Nom', 'Martin', 'Prénom', 'Léa', 'Né(e)', 'le', '12/05/2014', 'Classe', '6eA',
        'Adresse', '3', 'rue', 'des', 'Lilas', 'Adresse', 'C.P.', '35000', 'Ville', 'Rennes',
        'Tél.', '0299000000', 'Tél.', 'Métier', 'envisagé', 'Vétérinaire',
        'Très', 'bonne', 'élève.', 'Participe', 'volontiers.']
put('fiche.words', ''.join(w + '\n' for w in card), 'utf-8')
