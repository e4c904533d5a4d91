/* Keys and the pointer through KWin's fake-input protocol, as a person's devices would send them.
 *
 *     fake_input DELAY_MS EVENT...
 *
 * EVENT is key:CODE:STATE (a Linux key code, 1 pressed, 0 released) or move:X:Y (the pointer, in
 * the compositor's coordinates); DELAY_MS passes between events. Built by the real-session suite
 * from the protocol's description (plasma-wayland-protocols) with wayland-scanner. */
#include "fake-input-client-protocol.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <wayland-client.h>

static struct org_kde_kwin_fake_input* fake;

static void global(void* data, struct wl_registry* registry, uint32_t name, const char* interface,
    uint32_t version)
{
    (void)data;
    if (strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 && version >= 4)
        fake = wl_registry_bind(registry, name, &org_kde_kwin_fake_input_interface, 4);
}

static void global_remove(void* data, struct wl_registry* registry, uint32_t name)
{
    (void)data;
    (void)registry;
    (void)name;
}

static const struct wl_registry_listener listener = { global, global_remove };

int main(int argc, char** argv)
{
    struct wl_display* display = wl_display_connect(NULL);
    if (!display || argc < 2) {
        fprintf(stderr, "fake_input: no compositor, or no delay given\n");
        return 1;
    }
    wl_registry_add_listener(wl_display_get_registry(display), &listener, NULL);
    wl_display_roundtrip(display);
    if (!fake) {
        fprintf(stderr, "fake_input: the compositor offers no fake input\n");
        return 1;
    }
    org_kde_kwin_fake_input_authenticate(fake, "quorvel tests", "real-session tests");
    const long delay = atol(argv[1]);
    const struct timespec pause = { delay / 1000, (delay % 1000) * 1000000L };
    for (int i = 2; i < argc; ++i) {
        unsigned a = 0, b = 0;
        if (sscanf(argv[i], "key:%u:%u", &a, &b) == 2)
            org_kde_kwin_fake_input_keyboard_key(fake, a, b);
        else if (sscanf(argv[i], "move:%u:%u", &a, &b) == 2)
            org_kde_kwin_fake_input_pointer_motion_absolute(
                fake, wl_fixed_from_int((int)a), wl_fixed_from_int((int)b));
        wl_display_roundtrip(display);
        nanosleep(&pause, NULL);
    }
    wl_display_disconnect(display);
    return 0;
}
