// The window system of the device in one include.
#pragma once
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Gdi.h"
#include "platform/ui/Host.h"
#include "platform/ui/Sip.h"
#include "platform/ui/WinDef.h"
#include "platform/ui/WinUser.h"
#include "platform/ui/Wnd.h"
