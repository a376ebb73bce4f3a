# Reads an .xlsx workbook back with python's own zip and XML readers: the archive checked entry by entry (CRC-32
# and sizes), then each sheet as a spreadsheet sees it: its name, panes and column widths, and each cell with its
# kind, number format, wrapping and value, texts with the _xHHHH_ escapes of the format undone.
#
#     python3 ReadWorkbook.py <workbook.xlsx>
import sys, re, json, zipfile, xml.etree.ElementTree as ET
sys.stdout.reconfigure(encoding='utf-8')
M = '{http://schemas.openxmlformats.org/spreadsheetml/2006/main}'
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
part = lambda name: ET.fromstring(z.read(name))
def text(si):
    t = ''.join(t.text or '' for t in si.iter(M + 't'))
    t = re.sub('_x([0-9A-Fa-f]{4})_', lambda m: chr(int(m.group(1), 16)), t)
    return json.dumps(t, ensure_ascii=False) if len(t) < 100 else '<%d characters>' % len(t)
strings = [text(si) for si in part('xl/sharedStrings.xml')] if 'xl/sharedStrings.xml' in z.namelist() else []
styles = part('xl/styles.xml')
formats = {f.get('numFmtId'): f.get('formatCode') for f in styles.iter(M + 'numFmt')}
xfs = [formats.get(xf.get('numFmtId'), 'General') + (' wrap' if xf.find(M + 'alignment') is not None
       and xf.find(M + 'alignment').get('wrapText') == '1' else '') for xf in styles.find(M + 'cellXfs')]
targets = {r.get('Id'): r.get('Target') for r in part('xl/_rels/workbook.xml.rels')}
for sheet in part('xl/workbook.xml').iter(M + 'sheet'):
    ws = part('xl/' + targets[sheet.get('{http://schemas.openxmlformats.org/officeDocument/2006/relationships}id')])
    pane = ws.find(M + 'sheetViews/' + M + 'sheetView/' + M + 'pane')
    print('sheet', json.dumps(sheet.get('name'), ensure_ascii=False), 'pane', 'none' if pane is None else
          ' '.join(pane.get(a, '-') for a in ['xSplit', 'ySplit', 'topLeftCell', 'activePane', 'state']),
          'widths', ' '.join(c.get('min') + ':' + c.get('width') for c in ws.iter(M + 'col')))
    for c in ws.iter(M + 'c'):
        kind, v = c.get('t', 'n'), c.find(M + 'v').text
        value = strings[int(v)] if kind == 's' else repr(float(v)) if kind == 'n' else json.dumps(v)
        print(c.get('r'), {'s': 'text', 'n': 'number', 'e': 'error'}[kind], xfs[int(c.get('s', '0'))], value)
