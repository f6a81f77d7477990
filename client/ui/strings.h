// The client's string table: message texts by number, and message boxes that show them.
#pragma once

#include <QString>

#include "client/ui/dialog_seam.h"

class QWidget;

namespace stk::client {

// String numbers by what the string says; strings.cpp holds the texts.
namespace str {
inline constexpr int kConfirmRemoveItems = 2;
inline constexpr int kIncreaseInventorySize = 5;
inline constexpr int kEnterDescriptionAndCost = 7;
inline constexpr int kInvoicePaidModify = 8;
inline constexpr int kReturnItemsToInventory = 9;
inline constexpr int kDocumentationMissing = 11;
inline constexpr int kCannotSaveContacts = 16;
inline constexpr int kApplySalesTax = 18;
inline constexpr int kInvoiceModified = 19;
inline constexpr int kItemModified = 20;
inline constexpr int kItemNumberExists = 21;
inline constexpr int kEnterNumberDescriptionAndCost = 22;
inline constexpr int kBackorderItems = 23;
inline constexpr int kUpdateBackorder = 24;
inline constexpr int kEnterName = 26;
inline constexpr int kReplaceCustomerWithContact = 27;
inline constexpr int kBackorderOverQuantity = 28;
inline constexpr int kCannotOpenFile = 33;
inline constexpr int kEnterFirstInvoiceNumber = 35;
inline constexpr int kRemoveCustomer = 36;
inline constexpr int kCheckServer = 37;
inline constexpr int kCannotUpdateBackorder = 38;
inline constexpr int kCannotOpenLayout = 39;
inline constexpr int kContactsFull = 40;
inline constexpr int kCannotReserveMemory = 41;
inline constexpr int kCannotOpenContacts = 42;
inline constexpr int kServerMustRun = 43;
inline constexpr int kCannotSaveCompany = 44;
}  // namespace str

// Texts of our own for failures the string table has no string for, written in its style.
namespace text {
// A change answered 4: the server made it, but could not write it to its files.
inline constexpr const char* kChangeNotSaved =
    "Stockavelle Server made the change but was unable to save it. Please check Stockavelle Server.";
inline constexpr const char* kCannotSaveSettings =
    "Stockavelle was unable to save your company information. The destination drive may be full, or the "
    "destination file may be inaccessible or write protected.";
inline constexpr const char* kAmountTooLarge =
    "The amount of the item(s) you are adding is too large for the invoice. Please check the quantity and unit "
    "price.";
// A line to add or remove after a change whose answer never came: the reloaded invoice differs from what the
// user saw, perhaps because that change was made after all.
inline constexpr const char* kInvoiceReloadedAfterNoAnswer =
    "Stockavelle Server did not answer in time, and the invoice has changed since. The invoice has been "
    "reloaded; please check it before you change it again.";
}  // namespace text

// The text of string N ("" for an unknown number).
QString string_text(int n);

// Shows string N (followed by `suffix`, e.g. "\r\n" + a path) with the client's caption.
MsgAnswer show_string(QWidget* parent, int n, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      MsgAnswer default_answer = MsgAnswer::Ok, const QString& suffix = QString());

// Shows one of the texts above (followed by `suffix`) with the client's caption and an OK button.
void show_text(QWidget* parent, const char* text, MsgIcon icon, const QString& suffix = QString());

// Yes/No question with string N; true on Yes.
bool ask_string(QWidget* parent, int n, bool yes_is_default);

}  // namespace stk::client
