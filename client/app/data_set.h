// The client's data set: the pointer file that remembers it between runs, the creation of a new one with its
// folders and template files, and the settings loaded from it.
#pragma once

#include <QString>

class QWidget;

namespace stk::client {

// "<all-users app data>/Stockavelle 1.0.1/Client Settings.txt" ("" when the folder cannot be made).
QString pointer_file_path();
// The data-set path remembered by the pointer file; false when there is none (missing, unreadable or
// 261 bytes or more).
bool read_pointer_file(QString* path);
// Remembers `path` as the data set; false when the file could not be written.
bool write_pointer_file(const QString& path);

// Makes the four folders of a data set in `folder` and copies the templates from `program_folder` without
// overwriting. Returns false when one of the folders could not be created (an existing one counts as such);
// the templates are copied either way.
bool make_data_set(const QString& folder, const QString& program_folder);

// The folder browser for a new data set, then make_data_set; string 44 when a folder existed or could not be
// made. true when `*chosen` is a new data set.
bool create_data_set(QWidget* owner, const QString& program_folder, QString* chosen);
// The folder browser for an existing data set; true when one was chosen.
bool choose_existing_data_set(QWidget* owner, QString* chosen);

// Fills the session's paths from its data set and program folder, reads the settings file and reserves the
// arrays. false (after string 41) when the arrays could not be reserved.
bool load_settings(QWidget* owner);

}  // namespace stk::client
