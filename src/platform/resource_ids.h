/* Identifiers of the program's resources and of the controls of its dialogs.
   Plain #defines so that the Win32 resource compiler reads this file too. */
#ifndef QUORVEL_RESOURCE_IDS_H
#define QUORVEL_RESOURCE_IDS_H

/* Dialog templates */
#define IDD_MAIN_DIALOG          102
#define IDD_LAYERED_TEST         129

/* Strings, icons */
#define IDS_ABOUTBOX             101
/* The text of each string: the resource script's string table and the
   embedded strings of the other backends both read it here. */
#define IDS_ABOUTBOX_TEXT        "&About Ostrin..."
#define IDR_MAINFRAME            128

/* Bitmaps */
#define IDB_LOGO                 132  /* 82 x 66, logo control 1004 and the test window */
#define IDB_CLOSE                133  /* 24 x 24 */
#define IDB_CLOSE_PRESSED        136
#define IDB_RUN_TEST             139  /* 24 x 24 */
#define IDB_RUN_TEST_PRESSED     140
#define IDB_VIEW_DETAILS         143  /* 32 x 32 */
#define IDB_VIEW_DETAILS_PRESSED 144
#define IDB_SAVE_PRESSED         145  /* 32 x 32 */
#define IDB_SAVE                 146
#define IDB_RETURN               147  /* 32 x 32 */
#define IDB_RETURN_PRESSED       148
#define IDB_SKIN                 151  /* 232 x 150, 24 bits */
#define IDB_FAREWELL             152  /* 126 x 95 on black */
#define IDB_SUBMIT               154  /* 32 x 32 */
#define IDB_SUBMIT_PRESSED       155

/* Controls of the main dialog (template 102) */
#define IDC_RESULTS_EDIT         1001 /* holder of the report, never shown */
#define IDC_NAME_EDIT            1002
#define IDC_EMAIL_EDIT           1003
#define IDC_LOGO                 1004
#define IDC_CLOSE                1005
#define IDC_UNUSED_TEXT          1006
#define IDC_RUN_TEST             1007
#define IDC_VIEW_DETAILS         1008
#define IDC_SAVE_RESULTS         1009
#define IDC_RETURN_TO_MAIN       1010
#define IDC_UNUSED_BITMAP        1011
#define IDC_FAREWELL             1012
#define IDC_SUBMIT_AND_COMPARE   1013
#define IDC_SEND_RESULTS         1014
#define IDC_UNUSED_EDIT          1015
#define IDC_RUN_TEST_FIRST       1016
#define IDC_UNUSED_BUTTON        1000
#define IDC_MAKER_HOME           3    /* plain push button of the template; opens the maker's home page */

/* Standard command identifiers */
#ifndef IDOK
#define IDOK                     1
#define IDCANCEL                 2
#endif

/* System menu item appended at start-up */
#define IDM_ABOUTBOX             0x0010

#endif
