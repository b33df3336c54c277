// SPDX-FileCopyrightText: 2026 The passo-rigatura authors
// SPDX-License-Identifier: GPL-3.0-or-later

// A plain click handler: JavaScript's own numbers, no checks.
const button = document.getElementById("cmdcalcola");
button.addEventListener("click", () => {
    const degrees = parseFloat(document.getElementById("gradi1").value.replace(",", "."));
    const distance = parseFloat(document.getElementById("centimetri2").value.replace(",", "."));
    document.getElementById("centimetri1").textContent =
        String(Math.fround(360 / degrees * distance)).replace(".", ",");
});
button.focus();
