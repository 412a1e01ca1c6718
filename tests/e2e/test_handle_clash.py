"""A newcomer under a handle someone already uses is turned away."""

import unittest

from lantest import CMD_BYE, REQ_OUT, RSP_HELLO, LOGGED_OUT, LanTest, joined
from netlab import wait_for
from xwindow import text_lines


class HandleClashTest(LanTest):
    def test_a_second_bob_is_told_to_pick_another_handle(self):
        capture = self.lab.capture()
        # Three copies know "bob". The last one has never sent from its receive thread, so its
        # refusal carries the same first tag as the newcomer's announcement: it must still count
        # as a refusal, not as the newcomer's own packet.
        alice, bob, hanako = self.three_logged_in()
        before = {host.name: host.log_texts() for host in (alice, bob, hanako)}
        dave = self.add_host("dave", "198.18.0.20")
        copy = self.start(dave, logs_in=False)
        copy.log_in("bob")

        dave.wait_for_log(LOGGED_OUT)
        boxes = wait_for(copy.message_boxes, what="the message box of dave")
        self.assertEqual(len(boxes), 1)
        self.assertEqual(self.lab.xdotool("getwindowname", boxes[0]).stdout.strip(), "Korvane")

        def lines_in_box():
            # Between the box's icon (left) and its button (right, below the text).
            width, height, _ = image = copy.window_image(boxes[0])
            return text_lines(image, width * 15 // 100, 0, width * 70 // 100, height)
        wait_for(lambda: lines_in_box() == 2, what="two lines of text in the box")
        self.settle()

        requests = self.packets(capture, REQ_OUT)
        self.assertEqual(sorted(p.source for p in requests), [alice.address, bob.address, hanako.address])
        self.assertTrue(all(p.address == dave.address for p in requests))
        self.assertEqual([p.source for p in self.packets(capture, CMD_BYE)], [dave.address])
        self.assertEqual([p for p in self.packets(capture, RSP_HELLO) if p.target == dave.address], [])
        for host in (alice, bob, hanako):
            self.assertListed(host, 2)
            texts = host.log_texts()
            self.assertEqual(texts[:len(before[host.name])], before[host.name])
            self.assertEqual([t for t in texts[len(before[host.name]):] if t.startswith("*** ")], [],
                             f"notices in the log of {host.name} after dave's announcement")

        # Once the box is closed, the next handle is accepted.
        self.lab.xdotool("windowfocus", "--sync", boxes[0])
        self.lab.xdotool("key", "Return")
        wait_for(lambda: not copy.message_boxes(), what="the box to close")
        self.assertListed(dave, 0)
        self.log_in(copy, "dave")
        for host in (alice, bob, hanako):
            host.wait_for_log(joined("dave"))

    def test_the_only_copy_that_knows_a_handle_refuses_it(self):
        # The refusal comes from alice's receive thread, whose first tag is the newcomer's.
        alice = self.add_host("alice", "198.18.0.1", handle="alice")
        self.start(alice)
        eve = self.add_host("eve", "198.18.0.2")
        copy = self.start(eve, logs_in=False)
        copy.log_in("alice")
        eve.wait_for_log(LOGGED_OUT)
        wait_for(copy.message_boxes, what="the message box of eve")
        self.assertListed(alice, 0)


if __name__ == "__main__":
    unittest.main()
