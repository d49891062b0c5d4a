// Identifiers shared by the resource script and the code. The dialog template is
// named by the string "IDD_DLG_SETUP", so that name is deliberately not defined here.
#pragma once

#define IDI_MONITOR 110
// The wizard's keyboard shortcuts.
#define IDA_WIZARD 120
// An item of the wizard's system menu: below 0xF000, the low four bits clear, since
// the system uses those of WM_SYSCOMMAND itself.
#define IDM_NEXT_MONITOR 0x0100

#define IDC_MODEL_COMBO 142
#define IDC_PREVIOUS 143
#define IDC_NEXT 144
#define IDC_QUIT 145
#define IDC_STEP 146
#define IDC_PURPOSE 147
#define IDC_HOWTO 148
#define IDC_PURPOSE_LABEL 149
#define IDC_HOWTO_LABEL 150
#define IDC_SEEN 151
#define IDC_SEEN_LABEL 152
#define IDC_HIDE 163
#define IDC_PATTERN_LABEL 164
// Rows of monitor settings, made at run time on the steps that name settings; row i
// of each kind is the first identifier plus i.
#define IDC_SETTING_LABEL 170
#define IDC_SETTING_SLIDER 173
#define IDC_SETTING_VALUE 176
#define IDC_SETTING_NOTE 179
#define IDC_RESTORE 182
// Lines below the model list, made at run time: about the monitor on step 1, about the
// report on the last step; line i is the first identifier plus i.
#define IDC_STEP_LINE 190
// The button of the last step that opens the report, made at run time.
#define IDC_OPEN_REPORT 196
