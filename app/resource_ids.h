#pragma once
// Resource identifiers, shared by the resource script and the code.

#define IDI_APP 101
#define IDR_TRAYMENU 102
#define IDD_SCALE 201
#define IDC_SCALE_EDIT 1001
#define IDD_CONTACT 50986
#define IDC_CONTACT_LINK 50987
#define IDS_CONTACT_CAPTION 300
#define IDS_CONTACT_TEXT 301
