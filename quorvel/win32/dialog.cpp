#include "quorvel.h"

INT_PTR CALLBACK ZoneDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      if (FillZoneList(dialog) == 0) {
        // Nothing to choose from: the dialog ends before it is shown, and nothing is written.
        EndDialog(dialog, 0);
        PostQuitMessage(0);
        return FALSE;
      }
      SendDlgItemMessageA(dialog, IDC_SHOW_AT_STARTUP, BM_SETCHECK,
                          static_cast<WPARAM>(ReadStartupFlag()), 0);
      ApplyDialogTexts(dialog);
      return TRUE;  // the platform gives the default focus

    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK: {
          ZoneRecord record = ReadSelectedZone(dialog);
          if (!IsEmptyZone(record) && !ApplyZone(record)) ShowResourceMessage(IDS_ACCESS_DENIED_SET);
          // The choice is remembered whether or not the zone could be applied.
          SaveStartupFlag(dialog);
          SaveSelectedZone(dialog, "TZ0");
          EndDialog(dialog, IDOK);
          PostQuitMessage(0);
          return TRUE;
        }
        case IDCANCEL:
          // Cancel, Esc and the caption's close box: nothing is applied or written.
          EndDialog(dialog, IDCANCEL);
          PostQuitMessage(0);
          return FALSE;
        default:
          return FALSE;
      }

    default:
      return FALSE;
  }
}
