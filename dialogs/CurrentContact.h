// The contact of the contact dialog constructed last, null once that dialog
// is gone. The framework creates a dialog's form view without arguments, so
// the view picks its contact up here.
#pragma once

class ContactRecord;

extern ContactRecord* g_currentContact;
