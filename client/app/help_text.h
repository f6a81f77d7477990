// What "Stockavelle --help" prints; the man page is made from it too, so its headings follow help2man's
// conventions.
#pragma once

namespace stk::client {

inline constexpr const char* kHelp =
    "Usage: Stockavelle [OPTION]...\n"
    "  or:  Stockavelle --print-invoice=N --data-set=DIR --layout=NAME --pdf=FILE [--paper=SIZE]\n"
    "The till and back office of a shop: sell from invoices, receive and count stock, find items, invoices\n"
    "and contacts, print receipts and run reports, against a StockavelleServer.\n"
    "\n"
    "The first time, the client asks for its data set (a folder for contacts, price files, receipt layouts\n"
    "and reports) and remembers it; then it shows the company and connection dialog and connects. When no\n"
    "remote computer is set and no server runs on this computer, it starts StockavelleServer from its own\n"
    "folder.\n"
    "\n"
    "Options:\n"
    "      --data-set=DIR     use the data set in DIR for this run without asking (a new data set when DIR\n"
    "                         holds no settings file yet)\n"
    "      --print-invoice=N  print invoice N into a PDF file without any window and exit; N is the invoice's\n"
    "                         position in the server's list (1 is the first invoice ever made)\n"
    "      --layout=NAME      with --print-invoice: the receipt layout NAME.txt of the data set's Receipt\n"
    "                         Layouts folder, e.g. \"Default Layout\"\n"
    "      --pdf=FILE         with --print-invoice: the PDF file to write\n"
    "      --paper=SIZE       with --print-invoice: letter, a4 or 80mm (a roll as long as the receipt);\n"
    "                         without it, Letter or A4 as the system's measurement system has it\n"
    "      --help             display this help and exit\n"
    "      --version          output version information and exit\n"
    "\n"
    "Options also take the form --option VALUE. Qt's own options, such as -platform offscreen, are accepted\n"
    "too.\n"
    "\n"
    "Environment:\n"
    "  STOCKAVELLE_APPDATA    application-data folder, which remembers the data set\n"
    "                         (default /var/tmp/stockavelle-appdata)\n"
    "  STOCKAVELLE_PIPE_DIR   folder of the local sockets of the servers (default /tmp/stockavelle-pipes)\n"
    "\n"
    "Examples:\n"
    "  Stockavelle --data-set \"$HOME/Stockavelle/Till\"\n"
    "          open the till on that data set\n"
    "  Stockavelle --print-invoice 12 --data-set \"$HOME/Stockavelle/Till\" --layout \"80mm Receipt\" \\\n"
    "              --pdf receipt.pdf --paper 80mm\n"
    "          print the twelfth invoice on an 80 mm roll receipt into receipt.pdf\n"
    "\n"
    "The user manual opens from Help > View Help; it is Documentation/documentation.html in\n"
    "/usr/share/stockavelle once installed.\n";

}  // namespace stk::client
