"""A small terminal model for what Wine's console draws on a pseudo-terminal.

Wine keeps the console's screen itself and redraws it on the terminal with cursor moves and
ANSI colour sequences. Feeding that stream into Screen gives back each cell's character and the
console attribute (the Windows colour bits) it was drawn in.
"""
import re

DEFAULT_ATTRIBUTE = 0x07
_SEQUENCE = re.compile(r"\x1b\[([0-9;?]*)([A-Za-z])")


def _windows_bits(ansi_index):
    """ANSI colour order (bit 0 red, bit 2 blue) to console order (bit 0 blue, bit 2 red)."""
    return ((ansi_index & 1) << 2) | (ansi_index & 2) | ((ansi_index & 4) >> 2)


class Screen:
    def __init__(self):
        self.cells = {}
        self.row = self.col = 0
        self.attribute = DEFAULT_ATTRIBUTE

    def feed(self, text):
        pos = 0
        for match in _SEQUENCE.finditer(text):
            self._print(text[pos:match.start()])
            self._control(match.group(1), match.group(2))
            pos = match.end()
        self._print(text[pos:])

    def _print(self, text):
        for ch in text:
            if ch == "\r":
                self.col = 0
            elif ch == "\n":
                self.row += 1
            elif ch == "\b":
                self.col = max(0, self.col - 1)
            elif ch >= " ":
                self.cells[(self.row, self.col)] = (ch, self.attribute)
                self.col += 1

    def _control(self, params, final):
        if params.startswith("?"):
            return
        numbers = [int(p) if p else 0 for p in params.split(";")] if params else []
        first = numbers[0] if numbers else 0
        if final == "m":
            self._colour(numbers or [0])
        elif final == "H":
            self.row = (numbers[0] if numbers else 1) - 1
            self.col = (numbers[1] if len(numbers) > 1 else 1) - 1
        elif final == "C":
            self.col += first or 1
        elif final == "D":
            self.col = max(0, self.col - (first or 1))
        elif final == "A":
            self.row = max(0, self.row - (first or 1))
        elif final == "B":
            self.row += first or 1
        elif final == "K":
            for key in [k for k in self.cells if k[0] == self.row and k[1] >= self.col]:
                del self.cells[key]
        elif final == "J" and first == 2:
            self.cells.clear()

    def _colour(self, numbers):
        for n in numbers:
            if n == 0:
                self.attribute = DEFAULT_ATTRIBUTE
            elif 30 <= n <= 37 or 90 <= n <= 97:
                bright = 0x08 if n >= 90 else 0
                self.attribute = (self.attribute & 0xF0) | bright | _windows_bits(n % 10)
            elif 40 <= n <= 47 or 100 <= n <= 107:
                bright = 0x80 if n >= 100 else 0
                self.attribute = (self.attribute & 0x0F) | bright | (_windows_bits(n % 10) << 4)

    def rows(self):
        """[(text, [attribute per character])] for every row that holds something."""
        if not self.cells:
            return []
        last = max(r for r, _ in self.cells)
        result = []
        for r in range(last + 1):
            cols = sorted(c for rr, c in self.cells if rr == r)
            text, attributes = "", []
            for c in range(cols[-1] + 1 if cols else 0):
                ch, attribute = self.cells.get((r, c), (" ", DEFAULT_ATTRIBUTE))
                text += ch
                attributes.append(attribute)
            result.append((text, attributes))
        return result

    def find_row(self, text):
        """(row text, attributes of the characters of `text`) of the first row holding it."""
        for row_text, attributes in self.rows():
            at = row_text.find(text)
            if at >= 0:
                return row_text, attributes[at:at + len(text)]
        return None
