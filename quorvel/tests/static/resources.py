#!/usr/bin/env python3
"""Reads quorvel's resources out of a built program and checks them, without running it.

The resources are listed and extracted with wrestool (icoutils); this file only decodes the raw
bytes of each resource (string blocks, dialog templates, menu, accelerators, icons, version
record, manifest) and compares them with what the program must carry.

    resources.py CHECK PROGRAM.exe [RESOURCE-SOURCE-DIR]

CHECK is one of: inventory, strings, dialogs, menu, icons, version, manifest.
Exit status 0 when every comparison holds; otherwise each difference is printed and the
status is 1.
"""
import os
import re
import struct
import subprocess
import sys

RT_ICON, RT_MENU, RT_DIALOG, RT_STRING, RT_ACCELERATOR = 3, 4, 5, 6, 9
RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 14, 16, 24
EN_US = 0x0409

# The 27 string-table languages with the four dialog texts of each (ids 104 to 107).
DIALOG_TEXTS = {
    0x0401: ('تحديد المنطقة الزمنية الحالية التي تقيم فيها', 'عرض مربع الحوار هذا عند بدء التشغيل', 'موافق', 'إلغاء الأمر'),  # Arabic (Saudi Arabia)
    0x0404: ('選取目前的時區', '在啟動時顯示此對話方塊', '確定', '取消'),  # Chinese (Taiwan), traditional
    0x0405: ('Zvolte své časové pásmo', 'Po startu se zobrazí toto dialogové okno', 'Ok', 'Storno'),  # Czech
    0x0406: ('Vælg din aktuelle tidszone', 'Vis denne dialogboks ved start', 'Ok', 'Annullér'),  # Danish
    0x0407: ('Wählen Sie Ihre Zeitzone aus', 'Dialogfenster beim Systemstart anzeigen', 'Ok', 'Abbrechen'),  # German (Germany)
    0x0408: ('Επιλέξτε την τρέχουσα Ζώνη ώρας', 'Εμφάνιση αυτού του πλαισίου διαλόγου κατά την εκκίνηση', 'Ok', 'Άκυρο'),  # Greek
    0x0409: ('Select your current Time Zone', 'Display this dialog box on startup', 'Ok', 'Cancel'),  # English (United States)
    0x040B: ('Valitse tämänhetkinen aikavyöhykkeesi', 'Näytä tämä ilmoitus käynnistettäessä', 'Ok', 'Peruuta'),  # Finnish
    0x040C: ('Sélectionnez votre fuseau horaire actuel', 'Afficher cette boîte de dialogue au démarrage', 'Ok', 'Annuler'),  # French (France)
    0x040D: ('בחר את אזור הזמן הנוכחי שלך', 'הצג תיבת דו-שיח זו בעת ההפעלה', 'אישור', 'ביטול'),  # Hebrew
    0x040E: ('Válassza ki a helyi időzónát.', 'A párbeszédpanel megjelenítése indításkor', 'Ok', 'Mégse'),  # Hungarian
    0x0410: ('Selezionare il fuso orario', "Visualizza questa finestra di dialogo all'avvio", 'Ok', 'Annulla'),  # Italian (Italy)
    0x0411: ('現在のタイム ゾーンを選択してください', 'スタートアップ時にこのダイアログ ボックスを表示する', 'OK', 'キャンセル'),  # Japanese
    0x0412: ('현재 표준 시간대 선택', '시작할 때 이 대화 상자 표시', '확인', '취소'),  # Korean
    0x0413: ('Selecteer uw huidige tijdzone', 'Dit dialoogvenster weergeven bij opstarten', 'Ok', 'Annuleren'),  # Dutch (Netherlands)
    0x0414: ('Velg din tidssone', 'Vis denne dialogboksen ved oppstart', 'Ok', 'Avbryt'),  # Norwegian (Bokmål)
    0x0415: ('Wybierz swoją bieżącą strefę czasową', 'Wyświetlaj to okno dialogowe podczas uruchamiania', 'Ok', 'Anuluj'),  # Polish
    0x0416: ('Selecionar seu fuso horário atual', 'Exibir esta caixa de diálogo na inicialização', 'Ok', 'Cancelar'),  # Portuguese (Brazil)
    0x0419: ('Выберите текущий часовой пояс', 'Отображать это диалоговое окно при запуска', 'Ok', 'Отмена'),  # Russian
    0x041B: ('Výber aktuálneho časového pásma', 'Zobraziť toto dialógové okno pri spustení', 'Ok', 'Zrušiť'),  # Slovak
    0x041D: ('Välj din aktuella tidszon', 'Visa den här dialogrutan vid start', 'Ok', 'Avbryt'),  # Swedish
    0x041E: ('เลือกเขตเวลาปัจจุบันของคุณ', 'แสดงไดอะล็อกบ็อกซ์นี้เมื่อเริ่มต้น', 'ตกลง', 'ยกเลิก'),  # Thai
    0x041F: ('Geçerli Saat Diliminizi seçin', 'Bu iletişim kutusunu başlangıçta görüntüle', 'Tamam', 'İptal'),  # Turkish
    0x0424: ('Izberite trenutni časovni pas', 'To pogovorno okno prikaži ob zagonu', 'V redu', 'Prekliči'),  # Slovenian
    0x0804: ('选择当前时区', '启动时显示此对话框', '确定', '取消'),  # Chinese (People's Republic of China), simplified
    0x0816: ('Seleccione o seu Fuso horário actual', 'Apresentar esta caixa de diálogo no arranque', 'Ok', 'Cancelar'),  # Portuguese (Portugal)
    0x0C0A: ('Seleccione su zona horaria actual', 'Mostrar este cuadro de diálogo al iniciar', 'Aceptar', 'Cancelar'),  # Spanish (Spain, modern sort)
}

# Texts that are the same in every language.
COMMON_TEXTS = {
    103: 'Quorvel_w32',
    109: 'QUORVEL_W32',
    111: 'Error Message 3',
    112: 'Error Message 4',
    113: 'Error Message 5',
    114: 'Error Message 6',
    115: 'Error Message 7',
    116: 'Error Message 8',
}

ENGLISH_MESSAGES = {
    108: 'Access Denied, Unable to Set Time Zone Information.  '
         'Please contact your Administrator for assistance.',
    110: 'Access Denied, Unable to Read Time Zone Information.  '
         'Please contact your Administrator for assistance.',
}

PRESENT_IDS = range(103, 117)
BLOCK_IDS = range(96, 128)           # blocks 7 and 8

PRODUCT_TITLE = 'Quorvel Time Zone Selector'

MANIFEST = (b'<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">\r\n'
            b'</assembly>')

# Window and control styles.
WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_VSCROLL, WS_SYSMENU = 0x00C00000, 0x00200000, 0x00080000
WS_GROUP, WS_TABSTOP = 0x00020000, 0x00010000
DS_SETFONT, DS_MODALFRAME, DS_FIXEDSYS, DS_CENTER = 0x40, 0x80, 0x08, 0x800
BS_PUSHBUTTON, BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX = 0x0, 0x1, 0x3
BS_TOP, BS_MULTILINE = 0x400, 0x2000
CBS_DROPDOWN, CBS_SORT = 0x2, 0x100
SS_LEFT, SS_ICON, SS_NOPREFIX = 0x0, 0x3, 0x80
BUTTON, STATIC, COMBOBOX = 0x80, 0x82, 0x85
CV = WS_CHILD | WS_VISIBLE

ZONE_DIALOG = {
    'style': WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_FIXEDSYS,
    'exstyle': 0, 'helpid': 0, 'rect': (0, 0, 286, 65), 'menu': '', 'class': '',
    'title': PRODUCT_TITLE, 'font': (8, 400, 0, 1, 'MS Shell Dlg'),
    'items': [
        # id (the program's own name for it in resource.h), class atom, text, rect, style
        (1, BUTTON, 'OK', (169, 44, 50, 14), CV | WS_TABSTOP | BS_DEFPUSHBUTTON),
        (2, BUTTON, 'Cancel', (229, 44, 50, 14), CV | WS_TABSTOP | BS_PUSHBUTTON),
        ('IDC_ZONE_LIST', COMBOBOX, '', (7, 17, 272, 206), CV | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_SORT),
        ('IDC_PROMPT', STATIC, 'Select your current Time Zone', (7, 7, 272, 8), CV | WS_GROUP | SS_LEFT),
        ('IDC_SHOW_AT_STARTUP', BUTTON, 'Display this dialog box on startup', (7, 32, 158, 26),
         CV | WS_TABSTOP | BS_AUTOCHECKBOX | BS_TOP | BS_MULTILINE),
    ],
}

ABOUT_DIALOG = {
    'style': WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT,
    'exstyle': 0, 'rect': (22, 17, 230, 75), 'menu': '', 'class': '',
    'title': 'About', 'font': (8, 'System'),
    'items': [
        (2, STATIC, ('ordinal', 130), (14, 9, 16, 16), CV | SS_ICON),
        (0xFFFF, STATIC, 'Quorvel Version 1.0', (49, 10, 119, 8), CV | WS_GROUP | SS_NOPREFIX),
        (0xFFFF, STATIC, None, (49, 20, 119, 8), CV | WS_GROUP | SS_LEFT),   # notice: any text
        (1, BUTTON, 'OK', (195, 6, 30, 11), CV | WS_GROUP | WS_TABSTOP | BS_DEFPUSHBUTTON),
    ],
}

MF_POPUP, MF_END = 0x10, 0x80
MENU = [(MF_POPUP, '&File', [(MF_END, 105, 'E&xit')]),
        (MF_POPUP | MF_END, '&Help', [(MF_END, 104, '&About ...')])]

FALT, ACCEL_END = 0x10, 0x80
ACCELERATORS = [(FALT, 0x3F, 104), (FALT | ACCEL_END, 0x2F, 104)]

VERSION_KEYS = ['CompanyName', 'FileDescription', 'FileVersion', 'InternalName',
                'LegalCopyright', 'OriginalFilename', 'ProductName', 'ProductVersion']


class Checker:
    def __init__(self):
        self.failures = 0
        self.checks = 0

    def eq(self, what, got, want):
        self.checks += 1
        if got != want:
            self.failures += 1
            print(f'FAIL {what}: got {got!r}, want {want!r}')

    def true(self, what, cond, detail=''):
        self.checks += 1
        if not cond:
            self.failures += 1
            print(f'FAIL {what} {detail}'.rstrip())

    def finish(self, name):
        if self.checks == 0:
            print(f'FAIL {name}: nothing was checked')
            return 1
        print(f'{name}: {self.checks} checks, {self.failures} failed')
        return 1 if self.failures else 0


# ---------------------------------------------------------------------------------------------
# wrestool access

def list_resources(exe):
    """{(type, name, language): size} of every resource, as wrestool lists them."""
    out = subprocess.run(['wrestool', '-l', exe], check=True, capture_output=True, text=True).stdout
    found = {}
    for line in out.splitlines():
        m = re.match(r'--type=(\S+) --name=(\S+) --language=(\S+) \[.*size=(\d+)\]', line)
        if not m:
            raise SystemExit(f'unexpected wrestool line: {line!r}')
        key = tuple(int(v) if v.isdigit() else v for v in m.group(1, 2, 3))
        found[key] = int(m.group(4))
    return found


def extract(exe, rtype, name, lang):
    return subprocess.run(['wrestool', '-x', '--raw', f'--type={rtype}', f'--name={name}',
                           f'--language={lang}', exe], check=True, capture_output=True).stdout


# ---------------------------------------------------------------------------------------------
# Decoders of the raw resource formats

class Reader:
    def __init__(self, data):
        self.data = data
        self.pos = 0

    def take(self, fmt):
        size = struct.calcsize(fmt)
        if self.pos + size > len(self.data):
            raise ValueError(f'read past the end at {self.pos}')
        values = struct.unpack_from(fmt, self.data, self.pos)
        self.pos += size
        return values if len(values) > 1 else values[0]

    def wstr(self):
        """A zero-terminated UTF-16LE text."""
        units = []
        while True:
            u = self.take('<H')
            if u == 0:
                return bytes(units).decode('utf-16-le')
            units += struct.pack('<H', u)

    def sz_or_ord(self):
        """A text field that may hold an ordinal (0xFFFF, number) instead."""
        first = struct.unpack_from('<H', self.data, self.pos)[0]
        if first == 0xFFFF:
            self.take('<H')
            return ('ordinal', self.take('<H'))
        return self.wstr()

    def align(self, n=4):
        while self.pos % n:
            pad = self.take('<B')
            if pad != 0:
                raise ValueError(f'padding byte {pad:#x} at {self.pos - 1}')

    def at_end(self):
        return self.pos == len(self.data)


def decode_string_block(data):
    """The 16 entries of a string block, each a text or None for an absent (empty) entry."""
    r = Reader(data)
    entries = []
    for _ in range(16):
        n = r.take('<H')
        raw = r.data[r.pos:r.pos + 2 * n]
        if len(raw) != 2 * n:
            raise ValueError('entry runs past the end of the block')
        r.pos += 2 * n
        entries.append(raw.decode('utf-16-le') if n else None)
    if not r.at_end():
        raise ValueError(f'{len(data) - r.pos} bytes after the 16th entry')
    return entries


def decode_dialogex(data):
    r = Reader(data)
    ver, sig = r.take('<HH')
    d = {'version': ver, 'signature': sig}
    d['helpid'], d['exstyle'], d['style'], count = r.take('<IIIH')
    d['rect'] = r.take('<hhhh')
    d['menu'], d['class'], d['title'] = r.sz_or_ord(), r.sz_or_ord(), r.wstr()
    if d['style'] & DS_SETFONT:
        size, weight, italic, charset = r.take('<HHBB')
        d['font'] = (size, weight, italic, charset, r.wstr())
    items = []
    for _ in range(count):
        r.align()
        helpid, exstyle, style = r.take('<III')
        rect = r.take('<hhhh')
        cid = r.take('<I')
        cls, text, extra = r.sz_or_ord(), r.sz_or_ord(), r.take('<H')
        r.pos += extra
        items.append({'helpid': helpid, 'exstyle': exstyle, 'style': style, 'rect': rect,
                      'id': cid, 'class': cls, 'text': text, 'extra': extra})
    d['items'] = items
    d['trailing'] = len(data) - r.pos
    return d


def decode_dialog(data):
    r = Reader(data)
    d = {}
    d['style'], d['exstyle'], count = r.take('<IIH')
    d['rect'] = r.take('<hhhh')
    d['menu'], d['class'], d['title'] = r.sz_or_ord(), r.sz_or_ord(), r.wstr()
    if d['style'] & DS_SETFONT:
        size = r.take('<H')
        d['font'] = (size, r.wstr())
    items = []
    for _ in range(count):
        r.align()
        style, exstyle = r.take('<II')
        rect = r.take('<hhhh')
        cid = r.take('<H')
        cls, text, extra = r.sz_or_ord(), r.sz_or_ord(), r.take('<H')
        r.pos += extra
        items.append({'style': style, 'exstyle': exstyle, 'rect': rect, 'id': cid,
                      'class': cls, 'text': text, 'extra': extra})
    d['items'] = items
    d['trailing'] = len(data) - r.pos
    return d


def decode_menu(data):
    r = Reader(data)
    header = r.take('<HH')

    def level():
        items = []
        while True:
            flags = r.take('<H')
            if flags & MF_POPUP:
                text = r.wstr()
                items.append((flags, text, level()))
            else:
                cid = r.take('<H')
                items.append((flags, cid, r.wstr()))
            if flags & MF_END:
                return items

    items = level()
    return header, items, len(data) - r.pos


def decode_version(data):
    """(fixed info tuple, [(key, value)] of the string table, its name, translation words)."""
    def node(r, end):
        start = r.pos
        length, value_length, vtype = r.take('<HHH')
        key = r.wstr()
        r.align()
        node_end = start + length
        if node_end > end:
            raise ValueError(f'block {key!r} runs past its parent')
        value = None
        if vtype == 1:                          # text: value_length counts UTF-16 units
            value = r.data[r.pos:r.pos + 2 * value_length].decode('utf-16-le')
            r.pos += 2 * value_length
        else:
            value = r.data[r.pos:r.pos + value_length]
            r.pos += value_length
        r.align()
        children = []
        while r.pos < node_end:
            children.append(node(r, node_end))
            r.align()
        r.pos = node_end
        return {'key': key, 'type': vtype, 'value': value, 'children': children}

    r = Reader(data)
    root = node(r, len(data))
    return root


# ---------------------------------------------------------------------------------------------
# Sources: the per-language resource files

LANG_NAMES = {
    'LANG_ARABIC': 0x01, 'LANG_CHINESE': 0x04, 'LANG_CZECH': 0x05, 'LANG_DANISH': 0x06,
    'LANG_GERMAN': 0x07, 'LANG_GREEK': 0x08, 'LANG_ENGLISH': 0x09, 'LANG_SPANISH': 0x0A,
    'LANG_FINNISH': 0x0B, 'LANG_FRENCH': 0x0C, 'LANG_HEBREW': 0x0D, 'LANG_HUNGARIAN': 0x0E,
    'LANG_ITALIAN': 0x10, 'LANG_JAPANESE': 0x11, 'LANG_KOREAN': 0x12, 'LANG_DUTCH': 0x13,
    'LANG_NORWEGIAN': 0x14, 'LANG_POLISH': 0x15, 'LANG_PORTUGUESE': 0x16, 'LANG_RUSSIAN': 0x19,
    'LANG_SLOVAK': 0x1B, 'LANG_SWEDISH': 0x1D, 'LANG_THAI': 0x1E, 'LANG_TURKISH': 0x1F,
    'LANG_SLOVENIAN': 0x24,
}
SUBLANG_NAMES = {
    'SUBLANG_DEFAULT': 0x01, 'SUBLANG_ARABIC_SAUDI_ARABIA': 0x01,
    'SUBLANG_CHINESE_TRADITIONAL': 0x01, 'SUBLANG_CHINESE_SIMPLIFIED': 0x02,
    'SUBLANG_GERMAN': 0x01, 'SUBLANG_ENGLISH_US': 0x01, 'SUBLANG_FRENCH': 0x01,
    'SUBLANG_ITALIAN': 0x01, 'SUBLANG_KOREAN': 0x01, 'SUBLANG_DUTCH': 0x01,
    'SUBLANG_NORWEGIAN_BOKMAL': 0x01, 'SUBLANG_PORTUGUESE_BRAZILIAN': 0x01,
    'SUBLANG_PORTUGUESE': 0x02, 'SUBLANG_SWEDISH': 0x01, 'SUBLANG_SPANISH_MODERN': 0x03,
}


def resource_ids(res_dir):
    ids = {}
    with open(os.path.join(res_dir, 'resource.h'), encoding='utf-8') as f:
        for m in re.finditer(r'^#define\s+(\w+)\s+(\d+)\s*$', f.read(), re.M):
            ids[m.group(1)] = int(m.group(2))
    return ids


def rc_string(literal):
    """The text of an rc string literal (without its quotes)."""
    out, i = [], 0
    escapes = {'n': '\n', 't': '\t', '\\': '\\', '"': '"'}
    while i < len(literal):
        c = literal[i]
        if c == '"':
            if literal[i + 1:i + 2] != '"':
                raise ValueError(f'stray quote in {literal!r}')
            out.append('"')
            i += 2
        elif c == '\\':
            if literal[i + 1:i + 2] not in escapes:
                raise ValueError(f'unknown escape in {literal!r}')
            out.append(escapes[literal[i + 1]])
            i += 2
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def source_tables(res_dir):
    """{langid: {id: text}} from the per-language files and the list of files."""
    ids = resource_ids(res_dir)
    lang_dir = os.path.join(res_dir, 'lang')
    tables, files = {}, sorted(f for f in os.listdir(lang_dir) if f.endswith('.rc'))
    for name in files:
        with open(os.path.join(lang_dir, name), encoding='utf-8') as f:
            text = f.read()
        if '#pragma code_page(65001)' not in text:
            raise SystemExit(f'{name}: not marked as UTF-8')
        m = re.search(r'^LANGUAGE\s+(\w+)\s*,\s*(\w+)\s*$', text, re.M)
        if not m or m.group(1) not in LANG_NAMES or m.group(2) not in SUBLANG_NAMES:
            raise SystemExit(f'{name}: unknown LANGUAGE statement')
        langid = LANG_NAMES[m.group(1)] | (SUBLANG_NAMES[m.group(2)] << 10)
        body = re.search(r'^STRINGTABLE\s*\nBEGIN\n(.*?)^END', text, re.M | re.S)
        if not body:
            raise SystemExit(f'{name}: no string table')
        table = {}
        for line in body.group(1).splitlines():
            if not line.strip():
                continue
            e = re.match(r'^\s*(\w+)\s+"((?:[^"]|"")*)"\s*$', line)
            if not e or e.group(1) not in ids:
                raise SystemExit(f'{name}: cannot read {line!r}')
            table[ids[e.group(1)]] = rc_string(e.group(2))
        if langid in tables:
            raise SystemExit(f'{name}: second file for language {langid:#06x}')
        tables[langid] = table
    return tables


# ---------------------------------------------------------------------------------------------
# Checks

def check_inventory(exe, c, _res):
    want = {}
    for t, n in ((RT_DIALOG, 129), (RT_DIALOG, 103), (RT_MENU, 109), (RT_ACCELERATOR, 109),
                 (RT_GROUP_ICON, 107), (RT_GROUP_ICON, 108), (RT_GROUP_ICON, 130),
                 (RT_ICON, 1), (RT_ICON, 2), (RT_ICON, 3), (RT_VERSION, 1), (RT_MANIFEST, 1)):
        want[(t, n, EN_US)] = True
    for lang in DIALOG_TEXTS:
        want[(RT_STRING, 7, lang)] = True
        want[(RT_STRING, 8, lang)] = True
    found = list_resources(exe)
    c.eq('number of resources', len(found), len(want))
    for key in sorted(want, key=str):
        c.true(f'resource type {key[0]} name {key[1]} language {key[2]:#06x} present', key in found)
    for key in sorted(found, key=str):
        c.true(f'resource {key} expected', key in want, '(unexpected resource)')


def check_strings(exe, c, res_dir):
    sources = source_tables(res_dir)
    c.eq('languages in the sources', sorted(sources), sorted(DIALOG_TEXTS))
    english = None
    for lang in sorted(DIALOG_TEXTS):
        got = {}
        for block in (7, 8):
            try:
                entries = decode_string_block(extract(exe, RT_STRING, block, lang))
            except (ValueError, subprocess.CalledProcessError) as e:
                c.true(f'block {block} language {lang:#06x} readable', False, str(e))
                continue
            for k, text in enumerate(entries):
                got[(block - 1) * 16 + k] = text
        for sid in BLOCK_IDS:
            where = f'language {lang:#06x} id {sid}'
            text = got.get(sid)
            if sid not in PRESENT_IDS:
                c.eq(f'{where} empty', text, None)
                continue
            c.true(f'{where} present', text, '(empty)')
            c.eq(f'{where} as in the source', text, sources.get(lang, {}).get(sid))
            if sid in COMMON_TEXTS:
                c.eq(where, text, COMMON_TEXTS[sid])
            elif 104 <= sid <= 107:
                c.eq(where, text, DIALOG_TEXTS[lang][sid - 104])
        src = sources.get(lang, {})
        c.eq(f'language {lang:#06x} ids in the source', sorted(src), list(PRESENT_IDS))
        if lang == EN_US:
            english = got
            for sid, text in ENGLISH_MESSAGES.items():
                c.eq(f'English id {sid}', got.get(sid), text)
        else:
            for sid in ENGLISH_MESSAGES:
                c.true(f'language {lang:#06x} id {sid} translated',
                       got.get(sid) and got.get(sid) != ENGLISH_MESSAGES[sid])
        c.true(f'language {lang:#06x} messages 108 and 110 differ', got.get(108) != got.get(110))
        c.true(f'language {lang:#06x} has no control characters',
               all(t is None or not re.search(r'[\x00-\x1f]', t) for t in got.values()))
    # Block 8 is byte for byte the same in every language.
    blocks8 = {extract(exe, RT_STRING, 8, lang) for lang in DIALOG_TEXTS}
    c.eq('distinct forms of block 8', len(blocks8), 1)
    c.true('English table read', english is not None)


def check_items(c, name, items, want_items, extended):
    c.eq(f'{name} control count', len(items), len(want_items))
    for n, (item, want) in enumerate(zip(items, want_items), 1):
        cid, cls, text, rect, style = want
        where = f'{name} control {n}'
        c.eq(f'{where} id', item['id'], cid)
        c.eq(f'{where} class', item['class'], ('ordinal', cls))
        if text is None:
            c.true(f'{where} text', isinstance(item['text'], str) and item['text'].strip())
        else:
            c.eq(f'{where} text', item['text'], text)
        c.eq(f'{where} rect', item['rect'], rect)
        c.eq(f'{where} style', hex(item['style']), hex(style))
        c.eq(f'{where} extended style', item['exstyle'], 0)
        c.eq(f'{where} creation data', item['extra'], 0)
        if extended:
            c.eq(f'{where} help id', item['helpid'], 0)


def check_dialogs(exe, c, res_dir):
    z = decode_dialogex(extract(exe, RT_DIALOG, 129, EN_US))
    w = dict(ZONE_DIALOG)
    ids = resource_ids(res_dir)
    w['items'] = [(ids[i[0]] if isinstance(i[0], str) else i[0],) + i[1:] for i in w['items']]
    c.eq('129 template version', (z['version'], z['signature']), (1, 0xFFFF))
    for key in ('helpid', 'exstyle', 'rect', 'menu', 'class', 'title', 'font'):
        c.eq(f'129 {key}', z.get(key), w[key])
    c.eq('129 style', hex(z['style']), hex(w['style']))
    check_items(c, '129', z['items'], w['items'], True)
    c.eq('129 bytes after the last control', z['trailing'], 0)

    a = decode_dialog(extract(exe, RT_DIALOG, 103, EN_US))
    w = ABOUT_DIALOG
    c.true('103 is a classic template', extract(exe, RT_DIALOG, 103, EN_US)[2:4] != b'\xff\xff')
    for key in ('exstyle', 'rect', 'menu', 'class', 'title', 'font'):
        c.eq(f'103 {key}', a.get(key), w[key])
    c.eq('103 style', hex(a['style']), hex(w['style']))
    check_items(c, '103', a['items'], w['items'], False)
    c.eq('103 bytes after the last control', a['trailing'], 0)


def check_menu(exe, c, _res):
    header, items, trailing = decode_menu(extract(exe, RT_MENU, 109, EN_US))
    c.eq('menu header', header, (0, 0))
    c.eq('menu items', items, MENU)
    c.eq('bytes after the menu', trailing, 0)
    data = extract(exe, RT_ACCELERATOR, 109, EN_US)
    c.eq('accelerator table size', len(data), 8 * len(ACCELERATORS))
    got = [struct.unpack_from('<HHHH', data, i) for i in range(0, len(data) - 7, 8)]
    c.eq('accelerators', [(f, k, i) for f, k, i, _ in got], ACCELERATORS)
    c.eq('accelerator padding', [p for *_, p in got], [0] * len(got))


def check_icons(exe, c, _res):
    images = {}
    for n in (1, 2, 3):
        data = extract(exe, RT_ICON, n, EN_US)
        images[n] = data
        c.eq(f'icon {n} size', len(data), 3240)
        if len(data) >= 40:
            size, width, height, planes, bits, compression = struct.unpack_from('<IiiHHI', data)
            c.eq(f'icon {n} header', (size, width, height, planes, bits, compression),
                 (40, 32, 64, 1, 24, 0))
    c.true('icons 1 and 3 are the same picture', images[1] == images[3])
    c.true('icon 2 is a different picture', images[1] != images[2])
    for group, icon in ((107, 1), (108, 2), (130, 3)):
        data = extract(exe, RT_GROUP_ICON, group, EN_US)
        c.eq(f'icon group {group} size', len(data), 20)
        if len(data) == 20:
            c.eq(f'icon group {group} header', struct.unpack_from('<HHH', data), (0, 1, 1))
            c.eq(f'icon group {group} entry', struct.unpack_from('<BBBBHHIH', data, 6),
                 (32, 32, 0, 0, 1, 24, 3240, icon))


def check_version(exe, c, _res):
    root = decode_version(extract(exe, RT_VERSION, 1, EN_US))
    c.eq('version key', root['key'], 'VS_VERSION_INFO')
    fixed = struct.unpack('<13I', root['value']) if len(root['value']) == 52 else None
    c.true('fixed part present', fixed is not None)
    if fixed:
        c.eq('fixed signature', hex(fixed[0]), hex(0xFEEF04BD))
        c.eq('file version', fixed[2:4], (0x00010001, 0x00000009))
        c.eq('product version', fixed[4:6], (0x00010001, 0x00000009))
        c.eq('flags mask, flags, os, type, subtype, date', fixed[6:13], (0x17, 0, 4, 1, 0, 0, 0))
    children = {ch['key']: ch for ch in root['children']}
    c.eq('version blocks', [ch['key'] for ch in root['children']], ['StringFileInfo', 'VarFileInfo'])
    sfi = children.get('StringFileInfo', {'children': []})
    c.eq('string tables', [t['key'] for t in sfi['children']], ['040904b0'])
    strings = [(s['key'], s['value'].rstrip('\0')) for t in sfi['children'] for s in t['children']]
    c.eq('version keys in order', [k for k, _ in strings], VERSION_KEYS)
    values = dict(strings)
    for key in VERSION_KEYS:
        c.true(f'version value {key} not empty', values.get(key))
    c.eq('FileVersion', values.get('FileVersion'), '1, 1, 0, 9')
    c.eq('ProductVersion', values.get('ProductVersion'), '1, 1, 0, 9')
    c.eq('OriginalFilename', values.get('OriginalFilename'), 'Quorvel.exe')
    c.eq('ProductName', values.get('ProductName'), PRODUCT_TITLE)
    zone = decode_dialogex(extract(exe, RT_DIALOG, 129, EN_US))
    c.eq('ProductName is the zone dialog caption', values.get('ProductName'), zone['title'])
    vfi = children.get('VarFileInfo', {'children': []})
    c.eq('var entries', [v['key'] for v in vfi['children']], ['Translation'])
    if vfi['children']:
        c.eq('Translation', vfi['children'][0]['value'], struct.pack('<HH', 0x0409, 1200))


def check_manifest(exe, c, _res):
    data = extract(exe, RT_MANIFEST, 1, EN_US)
    c.eq('manifest length', len(data), 86)
    c.eq('manifest bytes', data, MANIFEST)


CHECKS = {'inventory': check_inventory, 'strings': check_strings, 'dialogs': check_dialogs,
          'menu': check_menu, 'icons': check_icons, 'version': check_version,
          'manifest': check_manifest}


def main(argv):
    if len(argv) < 3 or argv[1] not in CHECKS:
        print(__doc__)
        return 2
    exe = argv[2]
    res_dir = argv[3] if len(argv) > 3 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), '..', '..', 'res')
    c = Checker()
    try:
        CHECKS[argv[1]](exe, c, res_dir)
    except (ValueError, struct.error) as e:
        c.true(f'{argv[1]}: resource readable', False, str(e))
    return c.finish(argv[1])


if __name__ == '__main__':
    sys.exit(main(sys.argv))
