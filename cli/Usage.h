#pragma once
// The usage text of tabulon-cli: every subcommand, its options, the exit
// codes and an example of each.

namespace tabulon::cli {

inline constexpr char kUsage[] = R"(usage: tabulon-cli COMMAND ARGUMENTS

Commands:
  info FILE
      Print the table's counts and widths: "columns C", "rows R", "widths W0 W1 ...".
  convert IN OUT [--title TEXT] [--no-header] [--encoding E]
      Load IN and write OUT in the format of OUT's extension: tbn, csv, tsv, htm
      or html. For CSV and TSV, --encoding E writes cp932 (Shift-JIS, the
      default), utf-8 or utf-8-bom (UTF-8 after a byte-order mark, as Excel
      expects). For HTML, --title sets the page title (default: IN's name
      without folder and extension, "?" for each character Shift-JIS cannot
      hold) and --no-header leaves the item names out.
  encoding FILE
      Print the encoding FILE is read in: cp932, utf-8, utf-8-bom, utf-16le or
      utf-16be (a tbn file is always cp932).
  find FILE TEXT [--match-case] [--whole-cell] [--match-width] [--at C,R]
                 [--place P] [--way W] [--all | --element I]
      Find the next cell after C,R (default 1,1) holding TEXT and print "C,R".
      --place 0 searches the whole table, 1 the current row (--way 0) or
      column (--way 1). --all prints every hit as "C<TAB>R<TAB>text";
      --element I prints each row whose item I (from 0) holds TEXT.
      Case and half-/full-width forms are ignored unless --match-case and
      --match-width are given; --whole-cell compares whole cells.
  replace IN OUT TEXT NEW [--match-case] [--whole-cell] [--match-width] [--at C,R]
                          [--place P] [--way W]
      Replace TEXT by NEW in every cell that find --all lists for the same
      options, write OUT (tbn, csv or tsv) and print the number of cells replaced.
      Without --whole-cell every occurrence in a cell is replaced, left to
      right; with it the whole cell. NEW goes in as given, line breaks removed.
  filter IN OUT [--item I TEXT]... [--match-case] [--whole-cell] [--match-width]
      Write to OUT (tbn, csv or tsv) the item names and only the records whose
      item I (from 0) holds TEXT, for every --item given, and print their
      number. Matching is find's; without any --item every record is kept.
  sort IN OUT --key I --order K
      Sort the records of IN by item I (from 0) and write OUT (tbn, csv or tsv).
      Orders: 0 text ascending, 1 text descending, 2 characters ascending,
      3 characters descending, 4 bytes ascending, 5 bytes descending.
  --help     Print this text.
  --version  Print the version.

File formats go by the exact extension: tbn (Tabulon's own), csv, tsv (tab-
separated; a field holding a tab, a quote or a line break is quoted). Texts on
the command line and in the output are UTF-8; tables hold Shift-JIS. The
characters 〜 ‖ − ¢ £ ¬ — as Linux writes them (U+301C, U+2016, U+2212, U+00A2,
U+00A3, U+00AC, U+2014) are taken as their Shift-JIS forms; any other
character Shift-JIS cannot hold is refused.

Encodings: a tbn file is Shift-JIS. A CSV or TSV file with a byte-order mark
is UTF-8 or UTF-16 as its mark says; without one it is UTF-8 when its bytes
are valid UTF-8 holding at least one non-ASCII character, else Shift-JIS.
Reading refuses a file holding characters Shift-JIS cannot hold, naming the
first few with their row and column. sort and replace write a CSV or TSV OUT
in IN's encoding; convert writes cp932 unless --encoding says otherwise.

Searches match whole characters: the bytes of a character never match across
two others.

Exit status: 0 success, 1 nothing found (find, replace, filter; replace and
filter still write OUT), 2 error (the message is printed on standard error).

Examples:
  tabulon-cli info addresses.tbn
  tabulon-cli convert addresses.tbn addresses.csv
  tabulon-cli convert export.csv addresses.tsv --encoding utf-8
  tabulon-cli encoding export.csv
  tabulon-cli convert addresses.tbn page.html --title "住所録"
  tabulon-cli find addresses.tbn 山田 --all
  tabulon-cli replace addresses.tbn new.tbn 株式会社 （株）
  tabulon-cli sort addresses.tbn sorted.tbn --key 0 --order 0
  tabulon-cli filter addresses.tbn tokyo.csv --item 2 東京
)";

}  // namespace tabulon::cli
