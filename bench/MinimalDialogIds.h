// MinimalDialogIds.h: resource id and caption of the start-up bench's own dialog program.
#ifndef BENCH_MINIMAL_DIALOG_IDS_H
#define BENCH_MINIMAL_DIALOG_IDS_H

#define IDD_MINIMAL_DIALOG          100

// StartupBench finds the dialog by this caption.
#define MINIMAL_DIALOG_CAPTION      "Vantrel Startup Yardstick"

#ifndef IDC_STATIC
#define IDC_STATIC                  (-1)
#endif

#endif
