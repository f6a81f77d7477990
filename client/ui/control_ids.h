// Control and command ids of the main window. The invoice-field ids travel on the wire: SET_INVOICE_FIELD
// names the field by the id of the edit it was typed into.
#pragma once

namespace stk::client::ids {

// Push buttons.
inline constexpr int kAddToInventory = 100;
inline constexpr int kAddToInvoice = 101;
inline constexpr int kAddress = 102;
inline constexpr int kClear = 103;
inline constexpr int kContacts = 104;
inline constexpr int kSearchPriceFile = 105;

// Check box.
inline constexpr int kInventoryItem = 200;

// Drop-down lists.
inline constexpr int kPayment = 300;
inline constexpr int kStatus = 301;

// Edits (the ones marked wire are invoice fields).
inline constexpr int kCashReceived = 400;     // wire
inline constexpr int kCustomerName = 401;     // wire
inline constexpr int kInvoiceDate = 402;      // wire
inline constexpr int kDescription = 403;
inline constexpr int kInvoiceNumber = 404;    // wire
inline constexpr int kItemNumber = 405;
inline constexpr int kInvoiceNote = 406;      // wire
inline constexpr int kPhoneNumber = 407;      // wire
inline constexpr int kOrderNumber = 408;      // wire
inline constexpr int kOrderQuantity = 409;
inline constexpr int kBackorderQuantity = 410;
inline constexpr int kRemark = 411;
inline constexpr int kSalesperson = 412;      // wire
inline constexpr int kInvoiceTime = 414;      // wire
inline constexpr int kUnitPrice = 416;
// These two edits handle no command; they get ids of our own so that edit(id) reaches them as well.
inline constexpr int kUnitCost = 417;
inline constexpr int kTaxPercent = 418;

// List views.
inline constexpr int kInventoryList = 501;
inline constexpr int kInvoiceLines = 502;
inline constexpr int kPickerList = 504;  // the file picker's list

// Menu commands.
inline constexpr int kMenuPrint = 40001;
// File > "Print Preview...": an id of our own, clear of the resource ids.
inline constexpr int kMenuPrintPreview = 40101;
inline constexpr int kMenuExit = 40002;
inline constexpr int kMenuNewInvoice = 40004;
inline constexpr int kMenuViewHelp = 40008;
inline constexpr int kMenuAbout = 40009;
inline constexpr int kMenuSalesReport = 40018;
inline constexpr int kMenuRefresh = 40021;
inline constexpr int kMenuNonInventorySalesReport = 40022;
inline constexpr int kMenuImportItems = 40030;
inline constexpr int kMenuMessages = 40032;
inline constexpr int kMenuContacts = 40033;
inline constexpr int kMenuInvoices = 40034;
inline constexpr int kMenuSuggestedOrderReport = 40035;

// Context-menu commands of the two list views.
inline constexpr int kCtxAddSimilarItem = 4010;
inline constexpr int kCtxUpdateDescriptionsAndPrices = 4011;
inline constexpr int kCtxEditViewItem = 4012;
inline constexpr int kCtxUpdatePrices = 4013;
inline constexpr int kCtxDeleteItem = 4014;
inline constexpr int kCtxViewImage = 4015;
inline constexpr int kCtxEditLine = 4020;
inline constexpr int kCtxDeleteLine = 4021;

// The invoice-field edits whose changes are saved keystroke by keystroke.
inline constexpr int kInvoiceFieldIds[] = {kCashReceived, kCustomerName, kInvoiceDate, kInvoiceNumber,
                                           kInvoiceNote,  kPhoneNumber,  kOrderNumber, kSalesperson,
                                           kInvoiceTime};

}  // namespace stk::client::ids
