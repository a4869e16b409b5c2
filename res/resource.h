// Resource ids shared by the resource script and the program's code.
#pragma once

// Field labels: string i + 1 is the label of field i.
#define IDS_FIELD_FIRST 1
#define IDS_FIELD_LAST 16

#define IDR_MAINFRAME 128 // menu, icon and title string of the main frame
#define IDS_COLUMN_NAME 129
#define IDS_COLUMN_TELEPHONE 130
#define IDS_COLUMN_MOBILE 131
#define IDS_CONTACTS 132
#define IDS_NEW_CONTACT 136
#define IDS_DELETE_QUESTION 139
#define IDS_SAVED_TO_RECOVERY 140 // the write-back failed; the recovery file's path follows
#define IDS_NOT_SAVED 141         // neither the data file nor a recovery file could be written
#define IDS_NOT_STORABLE 150      // caption while typed characters are refused; they follow
#define IDS_SYNC_DONE 151         // the sync ended; IDS_SYNC_COUNTS follows
#define IDS_SYNC_COUNTS 152       // %1 received, %2 sent, %3 deleted, %4 conflicts
#define IDS_SYNC_FAILED 153       // the sync failed; what failed follows
// 61184 to 61188: the platform's message box buttons (OK, Cancel, Yes, No,
// Retry), IDS_MESSAGEBOX_OK and after in platform/ui/MessageBox.h.
// 61200 to 61222: the platform's date words (month names, short weekday
// names, first weekday, date patterns), IDS_MONTH_FIRST and after in
// platform/ui/DateWords.h.

#define IDB_ROW_ICON 131     // 16 x 16 card shown on every row
#define IDD_SHOW_DIALOG 132  // detail dialog frame
#define IDB_NAME_LINE 134    // 320 x 1 black line under the name
#define IDD_SHOW_FORM 135    // detail form
#define IDD_EDIT_DIALOG 140  // edit dialog frame
#define IDD_EDIT_FORM 141    // edit form
#define IDB_FIELD_LINE 142   // 260 x 1 gray line under an edit field

// Controls of the two forms.
#define IDC_NAME_LINE 1000
#define IDC_LABEL_FIRST 1002 // label of the k-th row
#define IDC_VALUE_FIRST 1040 // value of the k-th row
#define IDC_BIRTHDAY_PICKER 1046
#define IDC_LINE_FIRST 1080  // the line under the name, or under the k-th edit row

// Commands.
#define ID_LETTERS_AB 32774
#define ID_LETTERS_FGH 32776
#define ID_LETTERS_IJK 32777
#define ID_LETTERS_LMN 32778
#define ID_LETTERS_OPQ 32779
#define ID_LETTERS_RST 32780
#define ID_LETTERS_UVW 32781
#define ID_LETTERS_XYZ 32782
#define ID_LETTERS_CDE 32783
#define ID_CONTACT_OPEN 32784
#define ID_CONTACT_NEW 32785
#define ID_CONTACT_EDIT 32786
#define ID_CONTACT_DELETE 32787
#define ID_FILE_SYNC 32788
